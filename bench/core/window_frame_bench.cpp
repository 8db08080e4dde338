// The processor cost of one frame of the real game loop in a real window (the SDL renderer the
// game picks, e.g. OpenGL on Mesa's software rasteriser under Xvfb): the title screen and
// level 9 in play, paced to the display (the default: unchanged frames are not drawn, a sleep
// to the next frame time) and uncapped (every frame drawn, no wait). The time reported is the
// process's processor time per frame, all threads (the rasteriser's too), not wall time, so
// the pacing's sleep does not count and a busy machine changes it little.
// Needs a display (DISPLAY); skipped without one. Build the game folder first.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <memory>

#include "app/frame_pacer.h"
#include "app/game.h"
#include "app/sdl_clock.h"
#include "app/sdl_shell.h"
#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "render/assets.h"
#include "world/services.h"

namespace {

using namespace mdx;

double processSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Window {
  render::Device device;
  render::Assets assets;
  ~Window() { render::releaseDevice(device, assets); }
};

bool openWindow(benchmark::State& bench, Window& w, int scale) {
  const world::PackLayout pack = world::shippedPackLayout(MDX_GAME_DIR, "mappack1");
  if (!std::filesystem::exists(pack.levelPath(9))) {
    bench.SkipWithError("build the game folder first");
    return false;
  }
  if (SDL_getenv("DISPLAY") == nullptr || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    bench.SkipWithError("no display (run under Xvfb: xvfb-run -a)");
    return false;
  }
  world::RecordingMessageBoxes messages;
  gfx::DisplayRequest request;
  request.vsync = true;
  request.windowScale = scale;
  world::Options options;
  options.windowed = 1;
  options.packName = "mappack1";
  // The game's own device set-up: the window, its back end and where frames are drawn.
  if (render::createDeviceAndLoadAssets(options, pack, request, w.device, w.assets, messages) < 0) {
    bench.SkipWithError("no window");
    return false;
  }
  return true;
}

// Runs the game's own frames in a window of the benchmark's argument as scale; level 0 stays
// on the title, otherwise that level is in play.
void loopFrames(benchmark::State& bench, int level, bool paced) {
  Window w;
  if (!openWindow(bench, w, static_cast<int>(bench.range(0)))) return;
  app::FramePacer pacer = app::makeSystemFramePacer(w.device.display->refreshRate());
  app::SdlScenePresenter presenter(w.assets, *w.device.backend, paced ? &pacer : nullptr);
  app::SdlClock clock;
  app::ScriptedKeySource keys;
  app::RecordingWindow window;
  app::Game game(clock, keys, presenter, window, nullptr, nullptr);
  game.createWriters = [&] {
    w.assets.blackWriter.create(*w.device.backend, 0xFF000000u);
    w.assets.whiteWriter.create(*w.device.backend, 0xFFFFFFFFu);
  };
  game.windowActive = 1;
  game.startUp();
  if (level > 0) {
    game.beginGame(level);
    keys.press(app::DIK_SPACE);
    game.runFrame();
    keys.release(app::DIK_SPACE);
  }
  const long drawnBefore = presenter.framesDrawn;
  long frames = 0;
  double drawnSeconds = 0, skippedSeconds = 0;
  for (auto _ : bench) {
    const long drawn = presenter.framesDrawn;
    const double start = processSeconds();
    game.runFrame();
    const double spent = processSeconds() - start;
    bench.SetIterationTime(spent);
    (presenter.framesDrawn != drawn ? drawnSeconds : skippedSeconds) += spent;
    ++frames;
  }
  const long drawnFrames = presenter.framesDrawn - drawnBefore;
  if (drawnFrames > 0) bench.counters["drawn_ms"] = drawnSeconds * 1e3 / drawnFrames;
  if (frames > drawnFrames) {
    bench.counters["skipped_ms"] = skippedSeconds * 1e3 / static_cast<double>(frames - drawnFrames);
  }
  bench.counters["drawn_share"] =
      frames > 0 ? static_cast<double>(presenter.framesDrawn - drawnBefore) / frames : 0.0;
  bench.counters["refresh_hz"] = w.device.display->refreshRate();
}

void titleFramePaced(benchmark::State& bench) {
  loopFrames(bench, 0, true);
}
void playFramePaced(benchmark::State& bench) {
  loopFrames(bench, 9, true);
}
void titleFrameUncapped(benchmark::State& bench) {
  loopFrames(bench, 0, false);
}
void playFrameUncapped(benchmark::State& bench) {
  loopFrames(bench, 9, false);
}

BENCHMARK(titleFramePaced)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK(playFramePaced)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK(titleFrameUncapped)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK(playFrameUncapped)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

}  // namespace
