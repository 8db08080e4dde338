#include "render/overlays.h"

#include <algorithm>

#include "base/text.h"
#include "render/draw_helpers.h"

namespace mdx::render {

namespace {

constexpr int32_t kSlots = 8;
constexpr int32_t kPieceTypeCount = 6;
// Where the short lines are written: the top left of the bottom one, the line height, and
// the right end a line too long to start at the left one is moved back to.
constexpr int32_t kShortLinesLeft = 240;
constexpr int32_t kShortLinesRight = 632;
constexpr int32_t kShortLinesBottom = 456;
constexpr int32_t kShortLineHeight = 16;
// The middle of the ready sign, and the top of the line under it that names the level (the
// goal's line follows it).
constexpr int32_t kSignCentreX = 315;
constexpr int32_t kLevelTitleY = 96;

// The first level's key help: its box, the middle of its lines and the top of the first.
constexpr float kKeyHelpX = 192.0f;
constexpr float kKeyHelpY = 211.0f;
constexpr int32_t kKeyHelpCentreX = 320;
constexpr int32_t kKeyHelpTextY = 216;
constexpr int32_t kKeyHelpLineHeight = 18;
// The quit prompt's box, the middle of its answer line and that line's top.
constexpr float kQuitPromptX = 251.0f;
constexpr float kQuitPromptY = 80.0f;
constexpr int32_t kQuitPromptCentreX = 320;
constexpr int32_t kQuitAnswerY = 104;

// Lines one under the other, each centred on centreX, the first with its top at y.
template <std::size_t kCount>
void drawCentredLines(Assets& assets, const std::string (&lines)[kCount], int32_t centreX,
                      int32_t y, int32_t lineHeight) {
  for (const std::string& line : lines) {
    drawShadowedText(assets, line, centreX - assets.whiteWriter.width(line) / 2, y);
    y += lineHeight;
  }
}

void drawNextPieceBar(const world::GameState& state, Assets& assets, uint32_t grey) {
  const world::Scene& scene = state.scene;
  if (scene.hudPhase != 0 && scene.hudPhase != 1) return;
  const float slide = scene.hudSlide;
  drawPlain(assets.textNextImage, 398.0f, 31.0f - slide, grey);  // NOW under slot 0
  for (int32_t slot = 0; slot < kSlots; ++slot) {
    const int32_t type = slotPieceType(state, slot);
    if (type >= 0 && type < kPieceTypeCount) {
      assets.tileImages[static_cast<size_t>(type)].draw(400.0f + 30.0f * static_cast<float>(slot),
                                                        5.0f - slide, grey, 0.0f, 12.5f, 12.5f,
                                                        1.0f, 1.0f);
    }
    // The frame around the falling piece's tile blinks while the bar is shown, not while it
    // slides away.
    if (slot == 0 && scene.blinkPhase != 0 && scene.hudPhase == 0) {
      assets.borderImage.draw(399.0f, 4.0f - slide, grey, 0.0f, 12.5f, 12.5f, 1.0f, 1.0f);
    }
  }
}

void drawReadySigns(const world::GameState& state, Assets& assets, uint32_t grey) {
  const world::Keys& keys = state.keys;
  if (keys.quitPrompt != 0 || keys.peeking != 0 || state.progress.gameState != world::StateReady) {
    return;
  }
  const float swing = -0.125f * sinDegrees(16.0f * state.scene.waveClock);
  drawShadowed(assets.textImages[2], 252.0f, 30.0f, grey, swing, 63.0f, 0.0f);
  // Under the sign the level's number and name, the goal and the key that starts the level.
  const std::string lines[] = {
      levelTitle(state.progress.levelNumber, state.levelWords.name), kGoalLine,
      "Press " + namedKey(state, world::kCommandConfirm, true) + " to start"};
  drawCentredLines(assets, lines, kSignCentreX, kLevelTitleY, kShortLineHeight);
  if (state.progress.levelNumber == 1) {
    drawShadowed(assets.textImages[5], kKeyHelpX, kKeyHelpY, grey, 0.0f, 63.0f, 0.0f);
    const world::KeyLabels& labels = state.keyLabels;
    const std::string help[] = {labels.keys[world::kCommandLeft] + " / " +
                                    labels.keys[world::kCommandRight] + "  steer the piece",
                                labels.keys[world::kCommandDrop] + "  drops it fast",
                                labels.keys[world::kCommandPeek] + " held  shows the whole field",
                                labels.keys[world::kCommandConfirm] + "  starts the level",
                                labels.keys[world::kCommandHowTo] + "  how to play"};
    drawCentredLines(assets, help, kKeyHelpCentreX, kKeyHelpTextY, kKeyHelpLineHeight);
  }
}

void drawLevelNumber(const world::GameState& state, Assets& assets) {
  drawLevelLabel(assets, state.progress.levelNumber, 10.0f, 455.0f);
}

// The banner slides in from the right while growing, bobbing and rocking.
void drawBanner(const world::GameState& state, Assets& assets, uint32_t grey) {
  if (state.world.levelComplete != 1) return;
  const world::Scene& scene = state.scene;
  const float wave = 32.0f * scene.waveClock;
  drawShadowed(assets.textImages[4], scene.bannerX + 145.0f, 199.0f + 5.0f * cosDegrees(wave), grey,
               0.1f * sinDegrees(wave), 175.0f, 13.5f, scene.bannerScale, scene.bannerScale);
}

void drawQuitPrompt(gfx::SpriteImage& prompt, const world::GameState& state, Assets& assets) {
  if (state.keys.quitPrompt != 1 || state.keys.peeking != 0) return;
  drawShadowed(prompt, kQuitPromptX, kQuitPromptY, greyColour(state.scene.fadeLevel));
  const std::string answer[] = {state.keyLabels.keys[world::kCommandQuit] + " = yes, Esc = no"};
  drawCentredLines(assets, answer, kQuitPromptCentreX, kQuitAnswerY, kShortLineHeight);
}

}  // namespace

// The label and digits are black and white and do not fade.
void drawLevelLabel(Assets& assets, int32_t levelNumber, float x, float y) {
  drawPlain(assets.textImages[3], x + 1.0f, y + 1.0f, kBlack);
  drawPlain(assets.textImages[3], x, y, kWhite);
  const LevelDigits digits = levelDigits(levelNumber);
  gfx::SpriteImage& tens = assets.digitImages[static_cast<size_t>(digits.tens)];
  gfx::SpriteImage& units = assets.digitImages[static_cast<size_t>(digits.units)];
  drawPlain(tens, x + 73.0f, y + 1.0f, kBlack);
  drawPlain(tens, x + 72.0f, y, kWhite);
  drawPlain(units, x + 85.0f, y + 1.0f, kBlack);
  drawPlain(units, x + 84.0f, y, kWhite);
}

void drawShadowedText(Assets& assets, const std::string& text, int32_t x, int32_t y) {
  assets.blackWriter.draw(text, x + 1, y + 1);
  assets.whiteWriter.draw(text, x, y);
}

std::string levelTitle(int32_t levelNumber, const std::string& name) {
  const LevelDigits digits = levelDigits(levelNumber);
  std::string title = "LEVEL " + std::to_string(digits.tens) + std::to_string(digits.units);
  return name.empty() ? title : title + " \u2014 " + name;
}

std::string namedKey(const world::GameState& state, world::CommandIndex command, bool withPad) {
  const std::string& pad = state.keyLabels.pads[command];
  const std::string& key = state.keyLabels.keys[command];
  return withPad && !pad.empty() ? key + " (pad: " + pad + ")" : key;
}

LevelDigits levelDigits(int32_t levelNumber) {
  const int32_t shown = std::clamp(levelNumber, 0, 99);
  return {shown / 10, shown % 10};
}

int32_t slotPieceType(const world::GameState& state, int32_t slot) {
  const auto& types = state.world.pieceTypes;
  const int64_t index = static_cast<int64_t>(state.pieces.pieceIndex) + slot;
  if (index < 0 || index >= static_cast<int64_t>(types.size())) return 0;
  return types[static_cast<size_t>(index)];
}

void drawOverlays(const world::GameState& state, Assets& assets) {
  const uint32_t grey = greyColour(state.scene.fadeLevel);
  drawNextPieceBar(state, assets, grey);
  drawReadySigns(state, assets, grey);
  drawQuitPrompt(assets.textImages[6], state, assets);
  drawLevelNumber(state, assets);
  drawBanner(state, assets, grey);
}

std::vector<std::string> shortLines(const world::GameState& state) {
  std::vector<std::string> lines;
  for (base::Line& line : base::splitLines(state.scene.notices))
    lines.push_back(std::move(line.text));
  const int32_t gameState = state.progress.gameState;
  const bool inLevel = gameState == world::StateReady || gameState == world::StateDropping ||
                       gameState == world::StateRunning;
  if (!inLevel) return lines;
  // The offer of a hint after lost attempts, and what the hint's search found.
  for (const std::string* hintLine : {&state.hint.offer, &state.hint.line}) {
    if (!hintLine->empty()) lines.push_back(*hintLine);
  }
  // The hint of a level the robot can no longer win, until it is won or left.
  if (state.scene.stuckHint != 0 && state.world.levelComplete == 0) {
    // The level's own hint goes over it when the level has one.
    if (!state.levelWords.hint.empty()) lines.push_back("Hint: " + state.levelWords.hint);
    lines.push_back("Stuck? Press " + namedKey(state, world::kCommandRestart, true) +
                    " to restart");
  }
  return lines;
}

// Shadowed like the level number, the last line on the bottom one; a line too wide to start
// at the left edge of the others ends where the widest may.
void drawShortLines(const world::GameState& state, Assets& assets) {
  const std::vector<std::string> lines = shortLines(state);
  int32_t y = kShortLinesBottom - kShortLineHeight * static_cast<int32_t>(lines.size());
  for (const std::string& line : lines) {
    y += kShortLineHeight;
    const int32_t x = std::min(kShortLinesLeft, kShortLinesRight - assets.whiteWriter.width(line));
    drawShadowedText(assets, line, x, y);
  }
}

void drawEndingQuitPrompt(const world::GameState& state, Assets& assets) {
  drawQuitPrompt(assets.textImages[7], state, assets);
}

}  // namespace mdx::render
