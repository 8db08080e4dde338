#include "render/title_screen.h"

#include <algorithm>

#include "render/draw_helpers.h"
#include "render/draw_tables.h"
#include "render/overlays.h"

namespace mdx::render {

namespace {

// Top of the menu bar for each choice; the two places are 44 pixels apart.
constexpr float kStartBarY = 211.0f;
constexpr float kQuitBarY = 255.0f;
// Where "LEVEL nn" of the level choice sits: centred below the Quit entry.
constexpr float kLevelChoiceX = 272.0f;
constexpr float kLevelChoiceY = 300.0f;
// The chosen pack's name, centred under the menu and the level choice.
constexpr int32_t kPackNameCentreX = 320;
constexpr int32_t kPackNameY = 328;
// The line naming the How to play key starts here, or ends at the right edge when it is wider.
constexpr int32_t kHowToLineX = 510;
constexpr int32_t kHowToLineRight = 632;
// The keys page's panel and columns; the bar picture is kRectWidth x kRectHeight.
constexpr float kRectWidth = 248.0f;
constexpr float kRectHeight = 48.0f;
constexpr float kPanelLeft = 50.0f;
constexpr float kPanelTop = 60.0f;
constexpr float kPanelWidth = 540.0f;
constexpr float kPanelHeight = 370.0f;
constexpr uint32_t kPanelColour = 0xD8000000u;  // black, a little of the title showing through
constexpr float kFirstRowY = 100.0f;
constexpr float kRowHeight = 24.0f;
constexpr int32_t kColumnCommand = 70;
constexpr int32_t kColumnKey = 330;
constexpr int32_t kColumnPad = 470;
constexpr int32_t kHintX = 560;

// The shadows of all lines first, then the lines in white.
void drawTextLines(const world::GameState& state, Assets& assets) {
  struct Line {
    const std::string& text;
    int x, y;
  };
  const std::string howTo = howToKeyLine(state);
  const int howToX = std::min(kHowToLineX, kHowToLineRight - assets.whiteWriter.width(howTo));
  const Line lines[] = {{kVersionLine, 10, 441}, {kOwnershipLine, 10, 456}, {howTo, howToX, 441}};
  for (const Line& line : lines) assets.blackWriter.draw(line.text, line.x + 1, line.y + 1);
  for (const Line& line : lines) assets.whiteWriter.draw(line.text, line.x, line.y);
}

// The bar marks the chosen entry, bobbing by a pixel and tilting slightly; the menu picture
// stays in one place and only changes with the choice.
void drawMenu(const world::GameState& state, Assets& assets, uint32_t grey) {
  const bool startChosen = state.keys.titleChoice != 0;
  const float barTop = startChosen ? kStartBarY : kQuitBarY;
  gfx::SpriteImage& menu = assets.textImages[startChosen ? 1 : 0];
  const float wave = 4.0f * state.scene.waveClock;
  assets.rect01Image.draw(196.0f, barTop + cosDegrees(wave), grey, 0.025f * sinDegrees(wave),
                          124.0f, 24.0f, 1.0f, 1.0f);
  drawShadowed(menu, 205.0f, 220.0f, grey);
}

// The level START GAME begins with, under the menu. Shown only when there is a choice (the
// player has reached a later level); otherwise the title is as it always was.
void drawLevelChoice(const world::GameState& state, Assets& assets) {
  const world::Keys& keys = state.keys;
  if (keys.titleLevelLimit <= 1) return;
  drawLevelLabel(assets, keys.titleLevel, kLevelChoiceX, kLevelChoiceY);
  // An arrow on each side Left or Right can still move the choice to, then the hints used.
  const auto writeBeside = [&assets](const std::string& text, int32_t x) {
    const int32_t y = static_cast<int32_t>(kLevelChoiceY) + 1;
    assets.blackWriter.draw(text, x + 1, y + 1);
    assets.whiteWriter.draw(text, x, y);
  };
  const auto left = static_cast<int32_t>(kLevelChoiceX);
  if (keys.titleLevel > 1) writeBeside("<", left - 18);
  if (keys.titleLevel < keys.titleLevelLimit) writeBeside(">", left + 104);
  const std::string used = hintsUsedText(state.hint.usedPerLevel, keys.titleLevel);
  if (!used.empty()) writeBeside(used, left + 124);
}

void drawPackName(const world::GameState& state, Assets& assets) {
  const std::string& name = state.packTitle;
  if (name.empty()) return;
  drawShadowedText(assets, name, kPackNameCentreX - assets.whiteWriter.width(name) / 2, kPackNameY);
}

// The key that opens the keys page, in the bottom right corner.
void drawKeysHint(const world::GameState& state, Assets& assets) {
  const std::string& hint = state.keysPage.titleHint;
  if (hint.empty()) return;
  assets.blackWriter.draw(hint, kHintX + 1, 457);
  assets.whiteWriter.draw(hint, kHintX, 456);
}

// The keys page: a dark panel over the title with a row per command (what it does, its key,
// its pad button), the chosen row under the menu's bar, and a line of help or of the outcome.
void drawKeysPage(const world::GameState& state, Assets& assets, uint32_t grey) {
  const world::KeysPage& page = state.keysPage;
  assets.rect01Image.draw(kPanelLeft, kPanelTop, kPanelColour, 0.0f, 0.0f, 0.0f,
                          kPanelWidth / kRectWidth, kPanelHeight / kRectHeight);
  drawShadowedText(assets, "KEYS", kColumnCommand, kPanelTop + 12);
  drawShadowedText(assets, "KEY", kColumnKey, kPanelTop + 12);
  drawShadowedText(assets, "PAD", kColumnPad, kPanelTop + 12);
  const float barY = kFirstRowY + kRowHeight * static_cast<float>(page.row) - 4.0f;
  assets.rect01Image.draw(kPanelLeft + 10.0f, barY, grey, 0.0f, 0.0f, 0.0f,
                          (kPanelWidth - 20.0f) / kRectWidth, (kRowHeight + 2.0f) / kRectHeight);
  for (std::size_t i = 0; i < page.rows.size(); ++i) {
    const auto y = static_cast<int32_t>(kFirstRowY + kRowHeight * static_cast<float>(i));
    const bool waiting = page.listening && i == page.row;
    drawShadowedText(assets, page.rows[i][0], kColumnCommand, y);
    drawShadowedText(assets, waiting ? "?" : page.rows[i][1], kColumnKey, y);
    drawShadowedText(assets, page.rows[i][2], kColumnPad, y);
  }
  const world::KeyLabels& labels = state.keyLabels;
  const std::string help = page.listening          ? "Press the new key (Escape: keep the old one)"
                           : !page.message.empty() ? page.message
                                                   : labels.keys[world::kCommandUp] + "/" +
                                                         labels.keys[world::kCommandDrop] +
                                                         ": choose   Enter: new key   Escape: back";
  drawShadowedText(assets, help, kColumnCommand,
                   static_cast<int32_t>(kPanelTop + kPanelHeight) - 28);
}

}  // namespace

std::string hintsUsedText(const std::vector<int32_t>& usedPerLevel, int32_t level) {
  if (level < 0 || static_cast<std::size_t>(level) >= usedPerLevel.size()) return "";
  const int32_t used = usedPerLevel[static_cast<std::size_t>(level)];
  if (used <= 0) return "";
  return std::to_string(used) + (used == 1 ? " hint" : " hints");
}

std::string howToKeyLine(const world::GameState& state) {
  return state.keyLabels.keys[world::kCommandHowTo] + "  How to play";
}

void drawTitleRobots(const world::GameState& state, Assets& assets) {
  const world::Scene& scene = state.scene;
  const float clock = scene.landscapeClock;
  const uint32_t grey = greyColour(scene.fadeLevel);
  for (const TitleRobot& robot : kTitleRobots) {
    const int32_t picture =
        scene.titleFramePhase == 0 ? robot.pictureWhenPhase0 : robot.pictureWhenPhase1;
    const float stripX = scene.parallax2X[static_cast<size_t>(robot.stripCopy)];
    const float x =
        stripX + robot.xOffset + robot.xAmplitude * sinDegrees(robot.xFrequency * clock);
    const float y = robot.yBase + robot.yAmplitude * cosDegrees(robot.yFrequency * clock);
    const float rotation = robot.rotationBase + robot.rotationSin * sinDegrees(clock) +
                           robot.rotationCos * cosDegrees(clock);
    assets.robotImages[static_cast<size_t>(picture)].draw(x, y, grey, rotation, 0.0f, 0.0f, 1.0f,
                                                          1.0f);
  }
}

void drawTitleForeground(const world::GameState& state, Assets& assets) {
  const uint32_t grey = greyColour(state.scene.fadeLevel);
  drawTextLines(state, assets);
  if (state.keysPage.open) {
    drawKeysPage(state, assets, grey);  // in place of the logo and the menu
    return;
  }
  assets.logoImage.draw(58.0f, 65.0f, grey, 0.0f, 262.5f, 51.0f, 1.0f, 1.0f);
  assets.dxImage.draw(474.0f, 116.0f, grey, 0.0f, 75.5f, 40.0f, 1.0f, 1.0f);
  drawMenu(state, assets, grey);
  drawLevelChoice(state, assets);
  drawPackName(state, assets);
  drawKeysHint(state, assets);
}

}  // namespace mdx::render
