// What the play field and the ending draw for blocks, devices, the falling piece and the robot.
#include <gtest/gtest.h>

#include <set>

#include "render_fixture.h"

namespace mdx::render::testing {
namespace {

constexpr uint32_t kGrey = 0xFFFFFFFFu;  // fadeLevel 255

class PlayFieldTest : public RenderTest {};

TEST_F(PlayFieldTest, EmptyLevelShowsOnlyBothExitLightsAndTheEndingNothing) {
  state.world.lightX = 100.0f;
  state.world.lightY = 50.0f;
  state.scene.lightLevel1 = 230;
  state.scene.lightLevel2 = 240;
  state.scene.spinAngle = 2.0f;
  state.scene.hudPhase = 2;
  frame();
  const std::vector<std::string> expected = {
      "media/light01.tga", "media/light02.tga", "media/text04.tga", "media/text04.tga",
      "media/0.tga",       "media/0.tga",       "media/1.tga",      "media/1.tga"};
  EXPECT_EQ(spriteFiles(), expected);
  expectDraw(drawsOf("media/light01.tga")[0], {100, 50, 0xFFE6E6E6u, 2.0f, 12.5f, 19.0f});
  expectDraw(drawsOf("media/light02.tga")[0], {100, 50, 0xFFF0F0F0u, 1.0f, 12.5f, 19.0f});

  state.progress.gameState = world::StateEnding;
  frame();
  EXPECT_TRUE(spriteFiles().empty());
}

TEST_F(PlayFieldTest, DepthPassDrawsEveryBlockShiftedBeforeTheMainPass) {
  setBlock(1, 0, 7);
  setBlock(2, 3, 42);
  frame();
  auto block = drawsOf("media/block007.tga");
  ASSERT_EQ(block.size(), 1u);
  expectDraw(block[0], {0, -7, kGrey, 0, 9.5f, 9.5f});

  state.options.blocks3D = 1;
  for (int32_t gameState : {world::StateRunning, world::StateEnding}) {
    state.progress.gameState = gameState;
    frame();
    block = drawsOf("media/block007.tga");
    ASSERT_EQ(block.size(), 2u);
    expectDraw(block[0], {2, -6, kGrey, 0, 9.5f, 9.5f});
    expectDraw(block[1], {0, -7, kGrey, 0, 9.5f, 9.5f});
    // Conveyors take part as their plain picture, before any main-pass draw.
    const auto files = spriteFiles();
    EXPECT_EQ(files[0], "media/block007.tga");
    EXPECT_EQ(files[1], "media/block042.tga");
    expectDraw(drawsOf("media/block042.tga")[0], {59, 13, kGrey, 0, 9.5f, 9.5f});
  }
}

TEST_F(PlayFieldTest, ConveyorsAlternatePicturesOverASmallTurningWheel) {
  state.scene.spinAngle = 1.25f;
  std::set<std::string> shown;
  for (int32_t code : {42, 43, 44}) {
    setBlock(2, 3, code);  // cell corner (57, 12)
    std::vector<std::string> pictures;
    for (uint8_t phase : {uint8_t{1}, uint8_t{0}}) {
      SCOPED_TRACE(code * 10 + phase);
      state.scene.altFramePhase = phase;
      frame();
      const auto files = spriteFiles();
      ASSERT_GE(files.size(), 3u);
      // The wheel turns underneath, then the belt goes over it in the cell.
      EXPECT_EQ(files[1], "media/block105.tga");
      EXPECT_EQ(drawsOf("media/block105.tga")[0].rotation, 1.25f);
      expectDraw(drawsOf(files[2])[0], {57, 12, kGrey, 0, 9.5f, 9.5f});
      pictures.push_back(files[2]);
    }
    // Its own picture in one phase, another in the other; no two conveyors share one.
    EXPECT_EQ(pictures[0], numbered("media/block", code, 3, ".tga"));
    EXPECT_NE(pictures[1], pictures[0]);
    EXPECT_TRUE(shown.insert(pictures[1]).second) << pictures[1];
  }
}

TEST_F(PlayFieldTest, ExplosionMarkerTurnsBackwardsAndCodesWithoutPictureDrawNothing) {
  state.scene.explosionAngle = 0.5f;
  state.scene.lightLevel1 = state.scene.lightLevel2 = 0;
  setBlock(3, 2, 999);  // cell corner (38, 31)
  const int32_t noPicture[] = {70, 98, -3, 1000, 62, 0};
  for (int i = 0; i < 6; ++i) setBlock(4, 4 + i, noPicture[i]);
  state.scene.hudPhase = 2;
  frame();
  const auto files = spriteFiles();
  EXPECT_EQ(files[1], "media/explode1.tga");
  EXPECT_EQ(files[2], "media/light02.tga");
  expectDraw(drawsOf("media/explode1.tga")[0], {29, 39, kGrey, -0.5f, 19.5f, 19.5f});
}

TEST_F(PlayFieldTest, DevicesByCode) {
  state.scene.spinAngle = 0.75f;
  state.scene.gateAngle = 1.5f;
  state.scene.blinkPhase = 1;
  // Every device with a picture shows it once in its cell (row 5, column 2: corner (38, 69)),
  // the exit reaching into the cell above; only the wheel and the swing bar turn.
  for (int32_t code = 1; code <= world::kLastDevice; ++code) {
    SCOPED_TRACE(code);
    setDevice(5, 2, code);
    frame();
    const auto draws = drawsOf(numbered("media/block", 100 + code, 3, ".tga"));
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].x, 38);
    EXPECT_EQ(draws[0].y, code == world::kExit ? 69 - world::kCellSize : 69);
    const float turn = code == world::kWheel ? 0.75f : code == world::kSwingBar ? 1.5f : 0.0f;
    EXPECT_EQ(draws[0].rotation, turn);
  }
  state.scene.hudPhase = 2;
  for (int32_t code : {0, 14, -1, 99}) {
    setDevice(5, 2, code);
    frame();
    EXPECT_EQ(spriteFiles().size(), 2u + 2u + 4u) << code;  // lights, label, digits
  }
}

TEST_F(PlayFieldTest, BombFlashesRedWhileBlinkerIsDarkAndTheRedFades) {
  setDevice(5, 2, 12);
  setDevice(5, 4, 13);
  struct Fade {
    int32_t level;
    uint32_t grey, red;
  };
  const Fade fades[] = {{255, 0xFFFFFFFFu, 0xFFFF0000u},
                        {200, 0xFFC8C8C8u, 0xFFC80000u},
                        {0, 0xFF000000u, 0xFF000000u}};
  for (const auto& [fade, grey, red] : fades) {
    state.scene.fadeLevel = fade;
    state.scene.blinkPhase = 0;
    frame();
    const auto bomb = drawsOf("media/block112.tga");
    ASSERT_EQ(bomb.size(), 2u);
    EXPECT_EQ(bomb[0].colour, grey);
    EXPECT_EQ(bomb[1].colour, red);
    EXPECT_TRUE(drawsOf("media/block113.tga").empty());
  }
  state.scene.blinkPhase = 1;
  frame();
  EXPECT_EQ(drawsOf("media/block112.tga").size(), 1u);
  EXPECT_EQ(drawsOf("media/block113.tga").size(), 1u);
}

TEST_F(PlayFieldTest, FallingPieceShownWhileItsTopLeftCellIsInTheDrawnGrid) {
  state.progress.gameState = world::StateDropping;
  state.pieces.pieceShape = {{{0, 5, 0}, {0, 150, 0}, {0, 0, 0}, {0, 0, 9}}};
  state.pieces.pieceShapeInBlocks = 1;
  struct Case {
    int32_t column, row;
    bool shown;
  };
  const Case cases[] = {{2, 3, true},   {33, 0, true},  {0, 25, true},  {0, 26, true},
                        {0, 27, false}, {-1, 3, false}, {34, 3, false}, {2, -1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column * 100 + c.row);
    state.pieces.pieceColumn = c.column;
    state.pieces.pieceRow = c.row;
    frame();
    const auto top = drawsOf("media/block005.tga");
    const auto bottom = drawsOf("media/block009.tga");
    ASSERT_EQ(top.size(), c.shown ? 1u : 0u);
    ASSERT_EQ(bottom.size(), c.shown ? 1u : 0u);
    if (!c.shown) continue;
    const float x = 19.0f * static_cast<float>(c.column),
                y = 19.0f * static_cast<float>(c.row) - 26;
    expectDraw(top[0], {x + 19, y, kGrey});
    expectDraw(bottom[0], {x + 38, y + 57, kGrey});
  }
  state.pieces.pieceShapeInBlocks = 0;
  state.pieces.pieceRow = 3;
  frame();
  EXPECT_EQ(drawsOf("media/block105.tga").size(), 1u);
  EXPECT_EQ(drawsOf("media/block109.tga").size(), 1u);
  state.progress.gameState = world::StateRunning;
  frame();
  EXPECT_TRUE(drawsOf("media/block105.tga").empty());
}

// The hint: the falling piece once more, see-through, under the piece, where it should land;
// only for the piece it was found for, on the ready sign and while the pieces fall.
TEST_F(PlayFieldTest, HintGhostIsASeeThroughCopyOfItsPieceUnderThePiece) {
  state.progress.gameState = world::StateDropping;
  state.scene.fadeLevel = 200;
  state.pieces.pieceShape = {{{0, 5, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
  state.pieces.pieceShapeInBlocks = 1;
  state.pieces.pieceIndex = 2;
  state.pieces.pieceColumn = 15;
  state.pieces.pieceRow = 1;
  world::HintView& hint = state.hint;
  hint.ghost = true;
  hint.pieceIndex = 2;
  hint.column = 4;
  hint.row = 11;
  frame();
  auto drawn = drawsOf("media/block005.tga");
  ASSERT_EQ(drawn.size(), 2u);
  expectDraw(drawn[0], {19 * 5, 19 * 11 - 26, 0x90C8C8C8u});
  expectDraw(drawn[1], {19 * 16, 19 * 1 - 26, 0xFFC8C8C8u});
  state.progress.gameState = world::StateReady;  // the piece waits unseen; the ghost shows
  frame();
  EXPECT_EQ(drawsOf("media/block005.tga").size(), 1u);
  for (int32_t gameState : {world::StateRunning, world::StateDropping}) {
    state.progress.gameState = gameState;
    hint.pieceIndex = gameState == world::StateRunning ? 2 : 1;
    frame();
    EXPECT_EQ(drawsOf("media/block005.tga").size(), gameState == world::StateRunning ? 0u : 1u);
  }
}

TEST_F(PlayFieldTest, RobotPoses) {
  setBlock(10, 4, 99);  // cell corner (76, 164): the robot stands one row higher
  state.world.lightX = 150.0f;
  state.world.lightY = 30.0f;
  state.scene.spinAngle = 2.5f;
  state.scene.robotScale = 0.6f;
  state.scene.robotPivotX = 6.0f;
  state.scene.robotPivotY = 20.0f;
  const Expected atExit{157, 27, kGrey, 2.5f, 6.0f, 20.0f, 0.6f, 0.6f};
  struct Pose {
    int32_t frame, climbing, lift, complete;
    const char* file;
    Expected draw;
  };
  const Pose poses[] = {{0, 0, 0, 0, "media/marvo01.tga", {76, 145, kGrey, 0, 9.5f, 9.5f}},
                        {1, 0, 0, 0, "media/marvo02.tga", {76, 145, kGrey, 0, 9.5f, 9.5f}},
                        {0, 0, 2, 0, "media/marvo01.tga", {76, 142, kGrey, 0, 9.5f, 9.5f}},
                        {0, 1, 0, 0, "media/marvo01.tga", {67, 155, kGrey, 0.75f, 9.5f, 19.0f}},
                        {1, 1, 0, 0, "media/marvo02.tga", {67, 155, kGrey, 0.75f, 9.5f, 19.0f}},
                        {1, 1, 3, 0, "media/marvo02.tga", {76, 142, kGrey, 0.75f, 9.5f, 19.0f}},
                        {2, 0, 0, 0, "media/marvo04.tga", {76, 145, kGrey, 0, 9.5f, 9.5f}},
                        {2, 0, 0, 1, "media/marvo04.tga", atExit},
                        {3, 0, 0, 1, "media/marvo03.tga", atExit},
                        {3, 0, 0, 0, nullptr, {}},
                        {4, 0, 0, 1, nullptr, {}}};
  for (const Pose& pose : poses) {
    SCOPED_TRACE(pose.frame * 1000 + pose.climbing * 100 + pose.lift * 10 + pose.complete);
    state.world.robotFrame = pose.frame;
    state.world.robotClimbing = static_cast<uint8_t>(pose.climbing);
    state.world.liftCounter = pose.lift;
    state.world.levelComplete = static_cast<uint8_t>(pose.complete);
    frame();
    int robots = 0;
    for (const auto& file : spriteFiles()) robots += file.rfind("media/marvo", 0) == 0;
    ASSERT_EQ(robots, pose.file ? 1 : 0);
    if (pose.file) expectDraw(drawsOf(pose.file).at(0), pose.draw);
  }
}

TEST_F(PlayFieldTest, BlownUpRobotFliesSwayingOverEverything) {
  state.world.robotExploded = 1;
  state.world.robotExplosionX = 50.0f;
  state.world.robotExplosionY = 100.0f;
  state.scene.waveClock = 30.0f;
  state.scene.robotScale = 1.5f;
  state.scene.hudPhase = 2;
  frame();
  const auto files = spriteFiles();
  EXPECT_EQ(files[2], "media/marvo04.tga");  // after both lights, before the overlays
  expectDraw(drawsOf("media/marvo04.tga").at(0),
             {50, 81, kGrey, 4.330127f, 9.5f, 19.0f, 1.5f, 1.5f});
}

TEST_F(PlayFieldTest, EndingHidesConveyorsAndShowsTheRobotStanding) {
  state.progress.gameState = world::StateEnding;
  setBlock(2, 3, 42);
  setBlock(10, 4, 99);
  state.world.levelComplete = 1;
  state.world.robotClimbing = 1;
  const std::pair<int32_t, const char*> frames[] = {
      {0, "media/marvo04.tga"}, {1, "media/marvo03.tga"}, {2, nullptr}};
  for (const auto& [robotFrame, file] : frames) {
    state.world.robotFrame = robotFrame;
    frame();
    const auto files = spriteFiles();
    ASSERT_EQ(files.size(), file ? 1u : 0u);
    if (file) {
      EXPECT_EQ(files[0], file);
      expectDraw(drawsOf(file)[0], {76, 145, kGrey, 0, 9.5f, 9.5f});
    }
  }
}

}  // namespace
}  // namespace mdx::render::testing
