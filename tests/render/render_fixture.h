// Test fixture for the frame drawing: all the game's pictures loaded into a recording back end
// under their file names, both writers made, and a game state with the frame loop's start values
// and the default keys.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/key_bindings.h"
#include "recording_backend.h"
#include "render/assets.h"
#include "render/scene.h"
#include "world/game_state.h"

namespace mdx::render::testing {

inline std::string numbered(const char* prefix, int number, int digits, const char* suffix) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%0*d%s", prefix, digits, number, suffix);
  return buffer;
}

// Expected parameters of one sprite draw.
struct Expected {
  float x, y;
  uint32_t colour = 0xFFFFFFFFu;
  float rotation = 0, centreX = 0, centreY = 0, scaleX = 1, scaleY = 1;
};

inline void expectDraw(const gfx::SpriteDraw& d, const Expected& e) {
  constexpr float kTolerance = 1e-3f;
  EXPECT_NEAR(d.x, e.x, kTolerance);
  EXPECT_NEAR(d.y, e.y, kTolerance);
  EXPECT_EQ(d.colour, e.colour);
  EXPECT_NEAR(d.rotation, e.rotation, kTolerance);
  EXPECT_NEAR(d.centreX, e.centreX, kTolerance);
  EXPECT_NEAR(d.centreY, e.centreY, kTolerance);
  EXPECT_NEAR(d.scaleX, e.scaleX, kTolerance);
  EXPECT_NEAR(d.scaleY, e.scaleY, kTolerance);
}

class RenderTest : public ::testing::Test {
 protected:
  RenderTest() {
    loadAssets(assets, backend, world::shippedPackLayout("", "mappack1"), nullptr);
    assets.blackWriter.create(backend, 0xFF000000u);
    assets.whiteWriter.create(backend, 0xFFFFFFFFu);
    world::Scene& s = state.scene;
    s.fadeLevel = s.lightLevel1 = s.lightLevel2 = 255;
    s.robotScale = 1.0f;
    s.robotPivotX = 8.0f;
    s.robotPivotY = 25.0f;
    s.landscapeClock = 45.0f;
    s.parallax1X = s.parallax2X = {0.0f, 639.0f};
    state.progress.gameState = world::StateRunning;
    state.keyLabels = app::defaultKeyLabels();  // as the game gives them
  }

  // Draws one frame and returns its calls.
  const std::vector<RecordedCall>& frame() {
    backend.calls.clear();
    drawScene(state, assets, backend);
    return backend.calls;
  }

  // The draws of one picture file in the last frame, in order.
  std::vector<gfx::SpriteDraw> drawsOf(const std::string& file) const {
    std::vector<gfx::SpriteDraw> found;
    for (const RecordedCall& call : backend.calls) {
      if (call.kind == CallKind::Sprite && call.name == file) found.push_back(call.draw);
    }
    return found;
  }

  // The file names of the last frame's sprite draws, in order.
  std::vector<std::string> spriteFiles() const {
    std::vector<std::string> files;
    for (const RecordedCall& call : backend.calls) {
      if (call.kind == CallKind::Sprite) files.push_back(call.name);
    }
    return files;
  }

  void setBlock(int row, int column, int32_t code) {
    state.world.blockLayer[static_cast<size_t>(world::cellIndex(row, column))] = code;
  }
  void setDevice(int row, int column, int32_t code) {
    state.world.deviceLayer[static_cast<size_t>(world::cellIndex(row, column))] = code;
  }

  world::GameState state;
  Assets assets;
  RecordingBackend backend;
};

}  // namespace mdx::render::testing
