// One play-field frame with every cell of both grids filled, drawn on SDL's software renderer
// into a 640 x 480 surface. Reports the time per frame and the sprite draws per frame.
// Uses the generated pictures of the game folder when they exist, plain stand-ins otherwise.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "render/assets.h"
#include "render/scene.h"
#include "world/game_state.h"

namespace mdx::render {
namespace {

// Passes everything to the SDL back end, counting sprite draws; a picture file that cannot be
// read becomes a grey stand-in of cell size so the frame still does its full work.
class CountingBackend : public gfx::DrawBackend {
 public:
  explicit CountingBackend(gfx::SdlBackend& inner) : inner_(inner) {}
  gfx::TextureId loadTexture(const std::string& fileName) override {
    const gfx::TextureId id = inner_.loadTexture(fileName);
    if (id != 0) return id;
    gfx::Picture standIn{19, 19, std::vector<uint32_t>(19 * 19, 0xFF808080u)};
    return inner_.createTexture(standIn);
  }
  void drawSprite(gfx::TextureId texture, const gfx::SpriteDraw& draw) override {
    ++sprites;
    inner_.drawSprite(texture, draw);
  }
  gfx::FontId createFont() override { return inner_.createFont(); }
  int32_t drawText(gfx::FontId font, const std::string& text, int32_t x, int32_t y,
                   uint32_t colour) override {
    return inner_.drawText(font, text, x, y, colour);
  }
  int32_t textWidth(gfx::FontId font, const std::string& text) override {
    return inner_.textWidth(font, text);
  }
  void beginScene() override { inner_.beginScene(); }
  void endScene() override { inner_.endScene(); }

  int64_t sprites = 0;

 private:
  gfx::SdlBackend& inner_;
};

// Every drawn cell holds a block (conveyors among them) and a device; bombs flash.
void fillLevel(world::GameState& state, bool blocks3D) {
  state.progress.gameState = world::StateDropping;
  state.options.blocks3D = blocks3D ? 1 : 0;
  state.scene.fadeLevel = state.scene.lightLevel1 = state.scene.lightLevel2 = 255;
  state.scene.robotScale = 1.0f;
  state.scene.spinAngle = 0.7f;
  state.scene.gateAngle = 0.4f;
  for (int i = 0; i < world::kCells; ++i) {
    state.world.blockLayer[static_cast<size_t>(i)] = 1 + i % 61;
    state.world.deviceLayer[static_cast<size_t>(i)] = 1 + i % 13;
  }
  state.world.blockLayer[static_cast<size_t>(world::cellIndex(20, 10))] = world::kRobot;
  state.world.lightX = 300.0f;
  state.world.lightY = 200.0f;
  state.pieces.pieceColumn = 15;
  state.pieces.pieceShapeInBlocks = 1;
  state.pieces.pieceShape = {{{0, 20, 0}, {0, 20, 0}, {20, 20, 20}, {0, 0, 0}}};
  state.world.landscapeChoice = 1;
  state.scene.landscapeAngle = 1.0f;  // the landscape turns, as it nearly always does
  state.world.parallax1On = 1;
  state.world.parallax2Mode = 2;
  state.scene.parallax1X = state.scene.parallax2X = {0.0f, 639.0f};
}

void playFieldFrame(benchmark::State& bench) {
  auto display = gfx::Display::openHeadless();
  if (display == nullptr) {
    bench.SkipWithError("no software renderer");
    return;
  }
  gfx::SdlBackend sdl(display->renderer(), gfx::defaultFontPaths(MDX_GAME_DIR));
  CountingBackend backend(sdl);
  Assets assets;
  loadAssets(assets, backend, world::shippedPackLayout(MDX_GAME_DIR, "mappack1"), nullptr);
  world::GameState state;
  fillLevel(state, bench.range(0) != 0);

  for (auto _ : bench) {
    backend.sprites = 0;
    drawScene(state, assets, backend);
  }
  bench.counters["sprite_draws"] = static_cast<double>(backend.sprites);
  bench.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(playFieldFrame)->ArgName("blocks3D")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mdx::render
