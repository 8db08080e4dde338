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
  std::error_code error;
  std::filesystem::current_path(MDX_GAME_DIR, error);
  if (error || !std::filesystem::exists("media/marvolen.mp3")) {
    bench.SkipWithError("build the game folder first");
    return;
  }
  int pictures = 0;
  for (auto _ : bench) {
    auto display = gfx::Display::openHeadless();
    gfx::SdlBackend backend(display->renderer());
    render::Assets assets;
    world::RecordingMessageBoxes messages;
    pictures = render::loadAssets(assets, backend, "mappack1", &messages);
    sound::MixerSoundLibrary library;
    sound::Music music(library, &messages);
    music.startSound("mappack1");
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
