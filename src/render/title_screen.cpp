#include "render/title_screen.h"

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

void drawTextLines(Assets& assets) {
  assets.blackWriter.draw(kVersionLine, 11, 442);
  assets.blackWriter.draw(kOwnershipLine, 11, 457);
  assets.whiteWriter.draw(kVersionLine, 10, 441);
  assets.whiteWriter.draw(kOwnershipLine, 10, 456);
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
  if (state.keys.titleLevelLimit <= 1) return;
  drawLevelLabel(assets, state.keys.titleLevel, kLevelChoiceX, kLevelChoiceY);
}

}  // namespace

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
  assets.logoImage.draw(58.0f, 65.0f, grey, 0.0f, 262.5f, 51.0f, 1.0f, 1.0f);
  assets.dxImage.draw(474.0f, 116.0f, grey, 0.0f, 75.5f, 40.0f, 1.0f, 1.0f);
  drawTextLines(assets);
  drawMenu(state, assets, grey);
  drawLevelChoice(state, assets);
}

}  // namespace mdx::render
