// The overlays over the play field: next-piece bar, signs, prompts, level number, banner.
#include <gtest/gtest.h>

#include <climits>

#include "render_fixture.h"

namespace mdx::render::testing {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

class OverlaysTest : public RenderTest {
 protected:
  std::vector<std::string> tiles() const {
    std::vector<std::string> found;
    for (const auto& file : spriteFiles()) {
      if (file.rfind("media/tile", 0) == 0) found.push_back(file);
    }
    return found;
  }
};

TEST_F(OverlaysTest, NextPieceBarShowsEightSlotsWithBlinkingBorderAndSlidesUp) {
  state.world.pieceTypes = {1, 2, 3, 4, 5, 0, 7, -1, 2, 3};
  state.scene.blinkPhase = 1;
  frame();
  const auto files = spriteFiles();
  ASSERT_GE(files.size(), 5u);
  EXPECT_EQ(files[2], "media/textnext.tga");  // after both exit lights
  EXPECT_EQ(files[3], "media/tile01.tga");
  EXPECT_EQ(files[4], "media/border.tga");
  const std::vector<std::string> shown = {"media/tile01.tga", "media/tile02.tga",
                                          "media/tile03.tga", "media/tile04.tga",
                                          "media/tile05.tga", "media/tile00.tga"};
  EXPECT_EQ(tiles(), shown);  // types 7 and -1 leave their slots empty
  expectDraw(drawsOf("media/textnext.tga")[0], {398, 31, kWhite});
  expectDraw(drawsOf("media/tile05.tga")[0], {520, 5, kWhite, 0, 12.5f, 12.5f});
  expectDraw(drawsOf("media/tile00.tga")[0], {550, 5, kWhite, 0, 12.5f, 12.5f});
  expectDraw(drawsOf("media/border.tga")[0], {399, 4, kWhite, 0, 12.5f, 12.5f});

  state.scene.hudPhase = 1;
  state.scene.hudSlide = 20.0f;
  frame();
  expectDraw(drawsOf("media/textnext.tga")[0], {398, 11, kWhite});
  expectDraw(drawsOf("media/tile02.tga")[0], {430, -15, kWhite, 0, 12.5f, 12.5f});
  EXPECT_TRUE(drawsOf("media/border.tga").empty());

  state.scene.hudPhase = 0;
  state.scene.blinkPhase = 0;
  frame();
  EXPECT_TRUE(drawsOf("media/border.tga").empty());

  state.scene.hudPhase = 2;
  frame();
  EXPECT_TRUE(drawsOf("media/textnext.tga").empty());
  EXPECT_TRUE(tiles().empty());
}

TEST_F(OverlaysTest, SlotsPastTheTenthEntryShowTypeZero) {
  state.world.pieceTypes = {5, 5, 5, 5, 5, 5, 1, 2, 3, 4};
  state.pieces.pieceIndex = 6;
  frame();
  const std::vector<std::string> fromSix = {
      "media/tile01.tga", "media/tile02.tga", "media/tile03.tga", "media/tile04.tga",
      "media/tile00.tga", "media/tile00.tga", "media/tile00.tga", "media/tile00.tga"};
  EXPECT_EQ(tiles(), fromSix);
  for (int32_t index : {10, INT_MAX}) {
    state.pieces.pieceIndex = index;
    frame();
    EXPECT_EQ(tiles(), std::vector<std::string>(8, "media/tile00.tga")) << index;
  }
  state.pieces.pieceIndex = -3;
  frame();
  const std::vector<std::string> beforeStart = {
      "media/tile00.tga", "media/tile00.tga", "media/tile00.tga", "media/tile05.tga",
      "media/tile05.tga", "media/tile05.tga", "media/tile05.tga", "media/tile05.tga"};
  EXPECT_EQ(tiles(), beforeStart);
}

TEST_F(OverlaysTest, ReadySignHintAndQuitPromptByStateLevelPromptAndPeek) {
  state.scene.waveClock = 30.0f;
  struct Case {
    int32_t gameState, level, quitPrompt, peeking;
    bool sign, hint, prompt;
  };
  const Case cases[] = {{world::StateReady, 1, 0, 0, true, true, false},
                        {world::StateReady, 2, 0, 0, true, false, false},
                        {world::StateReady, 1, 1, 0, false, false, true},
                        {world::StateRunning, 1, 0, 0, false, false, false},
                        {world::StateDropping, 1, 1, 0, false, false, true},
                        {world::StateReady, 1, 0, 1, false, false, false},
                        {world::StateReady, 1, 1, 1, false, false, false},
                        {world::StateDropping, 1, 1, 1, false, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gameState * 1000 + c.level * 100 + c.quitPrompt * 10 + c.peeking);
    state.progress.gameState = c.gameState;
    state.progress.levelNumber = c.level;
    state.keys.quitPrompt = static_cast<uint8_t>(c.quitPrompt);
    state.keys.peeking = static_cast<uint8_t>(c.peeking);
    frame();
    const auto sign = drawsOf("media/text03.tga");
    const auto hint = drawsOf("media/text06.tga");
    const auto prompt = drawsOf("media/text07.tga");
    ASSERT_EQ(sign.size(), c.sign ? 2u : 0u);
    ASSERT_EQ(hint.size(), c.hint ? 2u : 0u);
    ASSERT_EQ(prompt.size(), c.prompt ? 2u : 0u);
    if (c.sign) {
      expectDraw(sign[0], {253, 31, kBlack, -0.108253f, 63, 0});
      expectDraw(sign[1], {252, 30, kWhite, -0.108253f, 63, 0});
    }
    if (c.hint) {
      expectDraw(hint[0], {193, 212, kBlack, 0, 63, 0});
      expectDraw(hint[1], {192, 211, kWhite, 0, 63, 0});
    }
    if (c.prompt) {
      expectDraw(prompt[0], {252, 81, kBlack});
      expectDraw(prompt[1], {251, 80, kWhite});
    }
    EXPECT_TRUE(drawsOf("media/text08.tga").empty());
  }
}

// The lines the signs and boxes carry name the keys the player has bound, not the defaults.
TEST_F(OverlaysTest, SignsKeyHelpAndQuitPromptNameTheBoundKeys) {
  const auto whiteTexts = [this] {
    std::vector<std::string> texts;
    for (const auto& call : frame()) {
      if (call.kind == CallKind::Text && call.draw.colour == kWhite) texts.push_back(call.name);
    }
    return texts;
  };
  state.progress.gameState = world::StateReady;
  state.progress.levelNumber = 1;
  EXPECT_EQ(whiteTexts(),
            (std::vector<std::string>{
                "LEVEL 01", "Bring the robot to the exit.", "Press Space (pad: A) to start",
                "Left / Right  steer the piece", "Down  drops it fast",
                "Tab held  shows the whole field", "Space  starts the level", "F1  how to play"}));
  world::KeyLabels& labels = state.keyLabels;
  labels.keys[world::kCommandLeft] = "A";
  labels.keys[world::kCommandRight] = "D";
  labels.keys[world::kCommandDrop] = "S";
  labels.keys[world::kCommandPeek] = "Left Shift";
  labels.keys[world::kCommandConfirm] = "E";
  labels.pads[world::kCommandConfirm] = "";
  labels.keys[world::kCommandHowTo] = "H";
  labels.keys[world::kCommandQuit] = "X";
  EXPECT_EQ(whiteTexts(),
            (std::vector<std::string>{"LEVEL 01", "Bring the robot to the exit.",
                                      "Press E to start", "A / D  steer the piece",
                                      "S  drops it fast", "Left Shift held  shows the whole field",
                                      "E  starts the level", "H  how to play"}));
  state.keys.quitPrompt = 1;
  EXPECT_EQ(whiteTexts(), std::vector<std::string>{"X = yes, Esc = no"});
}

TEST_F(OverlaysTest, LevelNumberAsTwoUnfadedDigitsClampedToTheDigitPictures) {
  state.scene.hudPhase = 2;
  state.scene.fadeLevel = 0;
  const std::pair<int32_t, std::pair<int, int>> levels[] = {
      {7, {0, 7}},  {32, {3, 2}},  {95, {9, 5}}, {0, {0, 0}},
      {99, {9, 9}}, {123, {9, 9}}, {-5, {0, 0}}, {INT_MIN, {0, 0}}};
  for (const auto& [level, digits] : levels) {
    SCOPED_TRACE(level);
    state.progress.levelNumber = level;
    frame();
    std::vector<RecordedCall> last(backend.calls.end() - 7, backend.calls.end() - 1);
    const std::string tens = numbered("media/", digits.first, 1, ".tga");
    const std::string units = numbered("media/", digits.second, 1, ".tga");
    const std::pair<std::string, Expected> expected[] = {{"media/text04.tga", {10, 455, kWhite}},
                                                         {tens, {83, 456, kBlack}},
                                                         {tens, {82, 455, kWhite}},
                                                         {units, {95, 456, kBlack}},
                                                         {units, {94, 455, kWhite}}};
    EXPECT_EQ(last[0].name, "media/text04.tga");
    expectDraw(last[0].draw, {11, 456, kBlack});
    for (size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(last[i + 1].name, expected[i].first);
      expectDraw(last[i + 1].draw, expected[i].second);
    }
  }
}

TEST_F(OverlaysTest, BannerSlidesInGrowingAndRocking) {
  state.scene.waveClock = 30.0f;
  state.world.levelComplete = 1;
  state.scene.bannerX = 100.0f;
  state.scene.bannerScale = 0.0f;
  frame();
  auto banner = drawsOf("media/text05.tga");
  ASSERT_EQ(banner.size(), 2u);
  expectDraw(banner[0], {246, 197.5f, kBlack, -0.0866025f, 175, 13.5f, 0, 0});
  expectDraw(banner[1], {245, 196.5f, kWhite, -0.0866025f, 175, 13.5f, 0, 0});
  EXPECT_EQ(spriteFiles().back(), "media/text05.tga");

  state.scene.bannerX = 0.0f;
  state.scene.bannerScale = 1.0f;
  frame();
  expectDraw(drawsOf("media/text05.tga").at(1), {145, 196.5f, kWhite, -0.0866025f, 175, 13.5f});

  state.world.levelComplete = 0;
  frame();
  EXPECT_TRUE(drawsOf("media/text05.tga").empty());
}

TEST_F(OverlaysTest, EndingHasItsOwnQuitPrompt) {
  state.progress.gameState = world::StateEnding;
  state.scene.fadeLevel = 128;
  state.keys.quitPrompt = 1;
  frame();
  const auto prompt = drawsOf("media/text08.tga");
  ASSERT_EQ(prompt.size(), 2u);
  expectDraw(prompt[0], {252, 81, kBlack});
  expectDraw(prompt[1], {251, 80, 0xFF808080u});
  EXPECT_TRUE(drawsOf("media/text07.tga").empty());
  state.keys.peeking = 1;
  frame();
  EXPECT_TRUE(spriteFiles().empty());
  state.keys.peeking = 0;
  state.keys.quitPrompt = 0;
  frame();
  EXPECT_TRUE(spriteFiles().empty());
}

}  // namespace
}  // namespace mdx::render::testing

namespace mdx::render::testing {
namespace {

// Every text line drawn, as "text@x,y", black shadows left out.
std::vector<std::string> whiteLines(const std::vector<RecordedCall>& calls) {
  std::vector<std::string> found;
  for (const auto& call : calls) {
    if (call.kind != CallKind::Text || call.draw.colour != kWhite) continue;
    found.push_back(call.name + "@" + std::to_string(static_cast<int>(call.draw.x)) + "," +
                    std::to_string(static_cast<int>(call.draw.y)));
  }
  return found;
}

TEST_F(OverlaysTest, StuckHintIsWrittenShadowedUntilTheLevelIsWon) {
  state.progress.gameState = world::StateRunning;
  auto hints = [this] {
    std::vector<RecordedCall> found;
    for (const auto& call : frame()) {
      if (call.kind == CallKind::Text && call.name == "Stuck? Press R (pad: Y) to restart") {
        found.push_back(call);
      }
    }
    return found;
  };
  EXPECT_TRUE(hints().empty());
  state.scene.stuckHint = 1;
  const std::vector<RecordedCall> shown = hints();
  ASSERT_EQ(shown.size(), 2u);
  expectDraw(shown[0].draw, {241, 457, kBlack});
  expectDraw(shown[1].draw, {240, 456, kWhite});
  state.world.levelComplete = 1;
  EXPECT_TRUE(hints().empty());
  state.world.levelComplete = 0;
  state.progress.gameState = world::StateTitle;  // a hint left over is no hint there
  EXPECT_TRUE(hints().empty());
}

// Notices stack above the stuck hint in a level, and show on the title and the ending alone.
TEST_F(OverlaysTest, NoticesStackAboveTheStuckHintOnEveryScreen) {
  state.scene.notices = "Progress NOT saved\nSong missing\n";
  state.scene.stuckHint = 1;
  state.progress.gameState = world::StateRunning;
  const std::vector<std::string> inLevel = {"Progress NOT saved@240,424", "Song missing@240,440",
                                            "Stuck? Press R (pad: Y) to restart@240,456"};
  const std::vector<std::string> elsewhere = {"Progress NOT saved@240,440", "Song missing@240,456"};
  std::vector<std::string> lines = whiteLines(frame());
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()), inLevel);
  for (int32_t gameState : {world::StateTitle, world::StateEnding}) {
    state.progress.gameState = gameState;
    lines = whiteLines(frame());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), elsewhere);
  }
}

}  // namespace
}  // namespace mdx::render::testing

namespace mdx::render::testing {
namespace {

// The texts of the frame's text draws, in order.
std::vector<RecordedCall> textDraws(const std::vector<RecordedCall>& calls) {
  std::vector<RecordedCall> texts;
  for (const auto& call : calls) {
    if (call.kind == CallKind::Text) texts.push_back(call);
  }
  return texts;
}

// The level's number and name go under the ready sign, centred on it, then the goal and the
// start key, only while the sign shows; its hint goes over the stuck line once that shows.
TEST_F(OverlaysTest, ReadySignNamesTheLevelAndTheStuckLineOffersItsHint) {
  state.progress.gameState = world::StateReady;
  state.progress.levelNumber = 12;
  std::vector<RecordedCall> texts = textDraws(frame());
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[1].name, "LEVEL 12") << "a level without a name shows its number only";
  EXPECT_EQ(texts[3].name, "Bring the robot to the exit.") << "then the goal, under it";
  EXPECT_GT(texts[3].draw.y, texts[1].draw.y);
  state.levelWords = {"Lift relay", "Two lifts in a row.", "The second lift waits."};
  texts = textDraws(frame());
  const std::string title = "LEVEL 12 \u2014 Lift relay";
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[1].name, title);
  const int32_t width = RecordingBackend::kCharWidth * static_cast<int32_t>(title.size());
  expectDraw(texts[1].draw, {static_cast<float>(315 - width / 2), 96, kWhite});
  expectDraw(texts[0].draw, {static_cast<float>(316 - width / 2), 97, kBlack});
  state.keys.quitPrompt = 1;
  texts = textDraws(frame());
  ASSERT_EQ(texts.size(), 2u) << "the quit prompt hides the sign and its lines";
  EXPECT_EQ(texts[1].name, "Q = yes, Esc = no");

  state.keys.quitPrompt = 0;
  state.progress.gameState = world::StateRunning;
  EXPECT_TRUE(textDraws(frame()).empty());
  state.scene.stuckHint = 1;
  texts = textDraws(frame());
  ASSERT_EQ(texts.size(), 4u);
  const std::string hint = "Hint: The second lift waits.";
  EXPECT_EQ(texts[1].name, hint);
  expectDraw(texts[1].draw, {240, 440, kWhite});
  EXPECT_EQ(texts[3].name, "Stuck? Press R (pad: Y) to restart");
  state.levelWords.hint = std::string(60, 'w');
  texts = textDraws(frame());
  ASSERT_EQ(texts.size(), 4u);
  // A hint too wide to start with the stuck line ends at the screen's edge instead.
  const int32_t hintWidth = RecordingBackend::kCharWidth * (6 + 60);
  expectDraw(texts[1].draw, {static_cast<float>(632 - hintWidth), 440, kWhite});
  state.levelWords.hint.clear();
  EXPECT_EQ(textDraws(frame()).size(), 2u) << "no hint, the stuck line alone";
}

}  // namespace
}  // namespace mdx::render::testing
