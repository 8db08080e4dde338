#include "render/scene.h"

#include "render/draw_helpers.h"
#include "render/draw_tables.h"
#include "render/how_to_play.h"
#include "render/overlays.h"
#include "render/play_field.h"
#include "render/title_screen.h"

namespace mdx::render {

namespace {

bool isPlayState(int32_t gameState) {
  return gameState == world::StateRunning || gameState == world::StateDropping ||
         gameState == world::StateReady;
}

const LandscapeMotion* landscapeMotionFor(int32_t motion) {
  if (motion < 0) return nullptr;
  if (motion > 2) motion = 0;  // unknown motions rock like the default one
  return &kLandscapeMotions[static_cast<size_t>(motion)];
}

}  // namespace

void drawLandscape(const world::GameState& state, Assets& assets) {
  const int32_t choice = state.world.landscapeChoice;
  if (choice < 1 || choice > 3) return;
  const LandscapeMotion* motion = landscapeMotionFor(state.world.landscapeMotion);
  if (motion == nullptr) return;

  const world::Scene& scene = state.scene;
  const float clock = scene.landscapeClock;
  const float rotation =
      motion->landscapeAngleWeight * scene.landscapeAngle +
      motion->waveAmplitude * sinDegrees(motion->waveFrequency * scene.waveClock);
  const float centreX =
      motion->centreX + motion->centreXAmplitude * sinDegrees(motion->centreXFrequency * clock);
  const float centreY =
      motion->centreY + motion->centreYAmplitude * cosDegrees(motion->centreYFrequency * clock);
  assets.landscapeImages[static_cast<size_t>(choice - 1)].draw(
      motion->x, motion->y, greyColour(scene.fadeLevel), rotation, centreX, centreY, motion->scale,
      motion->scale);
}

void drawLowerStrip(const world::GameState& state, Assets& assets) {
  if (state.world.parallax2Mode != 2) return;
  const uint32_t colour = greyColour(state.scene.fadeLevel);
  for (float x : state.scene.parallax2X) drawPlain(assets.parallaxImages[2], x, 380.0f, colour);
}

void drawUpperStrip(const world::GameState& state, Assets& assets) {
  if (state.world.parallax1On != 1) return;
  const uint32_t colour = greyColour(state.scene.fadeLevel);
  for (float x : state.scene.parallax1X) drawPlain(assets.parallaxImages[1], x, 0.0f, colour);
}

void drawScene(const world::GameState& state, Assets& assets, gfx::DrawBackend& backend) {
  // The back end clears the back buffer to black when the scene begins, so pixels that no
  // layer covers (no landscape, a landscape turned aside) never show an older frame.
  backend.beginScene();
  // The How to play pages take the place of the title, the level or the ending, over the
  // same landscape and strips.
  const bool howTo = state.keys.howToPage != 0;
  const int32_t gameState = howTo ? -1 : state.progress.gameState;

  drawLandscape(state, assets);
  if (gameState == world::StateTitle) drawTitleRobots(state, assets);
  drawLowerStrip(state, assets);
  if (gameState == world::StateTitle) drawTitleForeground(state, assets);
  drawUpperStrip(state, assets);
  if (gameState == world::StateEnding) drawEnding(state, assets);
  if (isPlayState(gameState)) {
    drawPlayField(state, assets);
    drawOverlays(state, assets);
  }
  drawShortLines(state, assets);
  if (howTo) drawHowToPlay(state, assets);

  backend.endScene();
}

}  // namespace mdx::render
