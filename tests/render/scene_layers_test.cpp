// What a whole frame draws, layer by layer, for each game state; the colour rule; the
// landscape motions and the parallax strips.
#include <gtest/gtest.h>

#include "render_fixture.h"

namespace mdx::render::testing {
namespace {

using world::StateDropping;
using world::StateEnding;
using world::StateReady;
using world::StateRunning;
using world::StateTitle;
using Files = std::vector<std::string>;

class SceneLayersTest : public RenderTest {
 protected:
  SceneLayersTest() {
    state.world.landscapeChoice = 1;
    state.world.parallax1On = 1;
    state.world.parallax2Mode = 2;
  }
};

TEST_F(SceneLayersTest, TitleDrawsRobotsUnderLowerStripAndForegroundUnderUpperStrip) {
  state.progress.gameState = StateTitle;
  const auto& calls = frame();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.front().kind, CallKind::Begin);
  EXPECT_EQ(calls.back().kind, CallKind::End);
  const Files expected = {"media/lndscp01.tga", "media/marvo03.tga", "media/marvo02.tga",
                          "media/marvo04.tga",  "media/marvo03.tga", "media/prlx02.tga",
                          "media/prlx02.tga",   "media/logo.tga",    "media/dx.tga",
                          "media/rect01.tga",   "media/text02.tga",  "media/text02.tga",
                          "media/prlx01.tga",   "media/prlx01.tga"};
  EXPECT_EQ(spriteFiles(), expected);
}

TEST_F(SceneLayersTest, PlayStatesDrawFieldAndOverlaysOverBothStrips) {
  for (int32_t gameState : {StateRunning, StateDropping, StateReady}) {
    SCOPED_TRACE(gameState);
    state.progress.gameState = gameState;
    frame();
    const Files files = spriteFiles();
    const Files backgrounds = {"media/lndscp01.tga", "media/prlx02.tga", "media/prlx02.tga",
                               "media/prlx01.tga",   "media/prlx01.tga", "media/light01.tga"};
    ASSERT_GE(files.size(), backgrounds.size());
    EXPECT_EQ(Files(files.begin(), files.begin() + 6), backgrounds);
    EXPECT_EQ(drawsOf("media/text04.tga").size(), 2u);  // level label
    EXPECT_TRUE(drawsOf("media/logo.tga").empty());
  }
}

TEST_F(SceneLayersTest, EndingAndUnknownStatesDrawNoPlayOverlays) {
  setBlock(5, 5, 99);
  for (int32_t gameState : {int32_t{StateEnding}, int32_t{7}}) {
    SCOPED_TRACE(gameState);
    state.progress.gameState = gameState;
    frame();
    const Files files = spriteFiles();
    const Files backgrounds = {"media/lndscp01.tga", "media/prlx02.tga", "media/prlx02.tga",
                               "media/prlx01.tga", "media/prlx01.tga"};
    ASSERT_GE(files.size(), backgrounds.size());
    EXPECT_EQ(Files(files.begin(), files.begin() + 5), backgrounds);
    EXPECT_TRUE(drawsOf("media/light01.tga").empty());
    EXPECT_TRUE(drawsOf("media/text04.tga").empty());
    EXPECT_EQ(files.size(), gameState == StateEnding ? 6u : 5u);  // the ending shows its robot
  }
}

TEST_F(SceneLayersTest, StripsDrawBothCopiesOnlyForTheirExactSwitchValue) {
  state.scene.parallax1X = {-12.0f, 627.0f};
  state.scene.parallax2X = {-30.0f, 609.0f};
  state.scene.fadeLevel = 200;
  frame();
  const auto upper = drawsOf("media/prlx01.tga");
  const auto lower = drawsOf("media/prlx02.tga");
  ASSERT_EQ(upper.size(), 2u);
  ASSERT_EQ(lower.size(), 2u);
  expectDraw(upper[0], {-12, 0, 0xFFC8C8C8u});
  expectDraw(upper[1], {627, 0, 0xFFC8C8C8u});
  expectDraw(lower[0], {-30, 380, 0xFFC8C8C8u});
  expectDraw(lower[1], {609, 380, 0xFFC8C8C8u});

  state.world.parallax1On = 2;
  state.world.parallax2Mode = 1;
  frame();
  EXPECT_TRUE(drawsOf("media/prlx01.tga").empty());
  EXPECT_TRUE(drawsOf("media/prlx02.tga").empty());
}

TEST_F(SceneLayersTest, FadeTakesLowEightBitsWhileTextShadowsStayBlack) {
  state.progress.gameState = StateReady;
  const std::pair<int32_t, uint32_t> cases[] = {{255, 0xFFFFFFFFu}, {128, 0xFF808080u},
                                                {0, 0xFF000000u},   {256, 0xFF000000u},
                                                {511, 0xFFFFFFFFu}, {-1, 0xFFFFFFFFu}};
  for (const auto& [fade, colour] : cases) {
    SCOPED_TRACE(fade);
    state.scene.fadeLevel = fade;
    frame();
    EXPECT_EQ(drawsOf("media/lndscp01.tga").at(0).colour, colour);
    const auto sign = drawsOf("media/text03.tga");
    ASSERT_EQ(sign.size(), 2u);
    EXPECT_EQ(sign[0].colour, 0xFF000000u);
    EXPECT_EQ(sign[1].colour, colour);
  }
}

TEST_F(SceneLayersTest, LandscapeFollowsItsMotionRow) {
  state.scene.landscapeClock = 30.0f;
  state.scene.waveClock = 30.0f;
  state.scene.landscapeAngle = 1.5f;
  const Expected rocking{-80, -160, 0xFFFFFFFFu, 1.5f, 395.66987f, 395.0f};
  const std::pair<int32_t, Expected> rows[] = {
      {0, rocking},
      {1, {-25, -50, 0xFFFFFFFFu, -0.0541266f, 405.0f, 420.0f, 0.9f, 0.9f}},
      {2, {-80, -160, 0xFFFFFFFFu, 10.0f, 395.66987f, 395.0f}},
      {3, rocking},
      {7, rocking}};
  for (const auto& [motion, expected] : rows) {
    SCOPED_TRACE(motion);
    state.world.landscapeMotion = motion;
    frame();
    const auto draws = drawsOf("media/lndscp01.tga");
    ASSERT_EQ(draws.size(), 1u);
    expectDraw(draws[0], expected);
  }
}

TEST_F(SceneLayersTest, LandscapePictureByChoiceAndNoneOutsideTheChoicesOrForNegativeMotion) {
  const std::pair<int32_t, const char*> choices[] = {
      {1, "media/lndscp01.tga"}, {2, "mappack1/lndscp02.tga"}, {3, "mappack1/lndscp03.tga"}};
  for (const auto& [choice, file] : choices) {
    state.world.landscapeChoice = choice;
    frame();
    EXPECT_EQ(spriteFiles().at(0), file);
  }
  for (int32_t choice : {0, 4, -1}) {
    state.world.landscapeChoice = choice;
    frame();
    EXPECT_EQ(spriteFiles().at(0), "media/prlx02.tga") << choice;
  }
  state.world.landscapeChoice = 1;
  state.world.landscapeMotion = -1;
  frame();
  EXPECT_EQ(spriteFiles().at(0), "media/prlx02.tga");
}

TEST_F(SceneLayersTest, MissingPicturesDrawNothingAndTheFrameGoesOn) {
  backend.missingFiles = {"media/lndscp01.tga", "media/block007.tga"};
  Assets sparse;
  loadAssets(sparse, backend, world::shippedPackLayout("", "mappack1"), nullptr);
  setBlock(3, 3, 7);
  setBlock(3, 4, 8);
  backend.calls.clear();
  drawScene(state, sparse, backend);
  EXPECT_EQ(backend.calls.back().kind, CallKind::End);
  const Files files = spriteFiles();
  ASSERT_GE(files.size(), 6u);
  EXPECT_EQ(files[0], "media/prlx02.tga");
  EXPECT_EQ(drawsOf("media/block008.tga").size(), 1u);
  EXPECT_TRUE(drawsOf("media/block007.tga").empty());
  EXPECT_TRUE(drawsOf("media/lndscp01.tga").empty());
}

}  // namespace
}  // namespace mdx::render::testing
