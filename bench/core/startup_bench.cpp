// Start-up to the first frame, as the game makes it on the built game folder: the software
// display, all 117 pictures, the sound start-up (five music streams, seven effects, the title
// music playing) on SDL's dummy audio driver, the two text writers and the first title frame.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "render/assets.h"
#include "render/scene.h"
#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"
#include "world/game_state.h"

namespace {

using namespace mdx;

void startUpToFirstFrame(benchmark::State& bench) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const world::PackLayout pack = world::shippedPackLayout(MDX_GAME_DIR, "mappack1");
  if (!std::filesystem::exists(pack.titleSongPath())) {
    bench.SkipWithError("build the game folder first");
    return;
  }
  int pictures = 0;
  for (auto _ : bench) {
    auto display = gfx::Display::openHeadless();
    gfx::SdlBackend backend(display->renderer(), gfx::defaultFontPaths(MDX_GAME_DIR));
    render::Assets assets;
    world::RecordingMessageBoxes messages;
    pictures = render::loadAssets(assets, backend, pack, &messages);
    sound::MixerSoundLibrary library;
    sound::Music music(library, &messages);
    music.startSound(pack);
    assets.blackWriter.create(backend, 0xFF000000u);
    assets.whiteWriter.create(backend, 0xFFFFFFFFu);
    world::GameState state;
    render::drawScene(state, assets, backend);
    bench.PauseTiming();  // the shutdown is not part of the start-up
    music.stopSound();
    bench.ResumeTiming();
  }
  bench.counters["pictures"] = pictures;
}
BENCHMARK(startUpToFirstFrame)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
