// What is drawn over the play field: next-piece bar, signs, prompts, level number, banner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/assets.h"
#include "world/game_state.h"

namespace mdx::render {

// The goal of every level, said under the ready sign and on the first How to play page.
inline const std::string kGoalLine = "Bring the robot to the exit.";

// The overlays of the three playing states, drawn last, after the play field.
void drawOverlays(const world::GameState& state, Assets& assets);

// The short lines for the player at the foot of the screen, top to bottom: the notices, then in
// a level the offer of a hint, what the hint's search found and the hint to restart a level the
// robot can no longer win, under the level's own hint when it has one. Every short line the
// game shows is listed here.
std::vector<std::string> shortLines(const world::GameState& state);

// Writes the short lines, the last one at the bottom; the last step of every picture.
void drawShortLines(const world::GameState& state, Assets& assets);

// The ending's quit prompt (only while quitPrompt is 1); the last step of the ending picture.
void drawEndingQuitPrompt(const world::GameState& state, Assets& assets);

// "LEVEL nn" with the label and digit pictures, top-left corner at (x, y), with a black
// shadow one pixel down and right. The level number of play and the title's level choice.
void drawLevelLabel(Assets& assets, int32_t levelNumber, float x, float y);

// One line of text in white over its black shadow one pixel down and right.
void drawShadowedText(Assets& assets, const std::string& text, int32_t x, int32_t y);

// The key the player has bound to command, as the texts name it; with withPad also its pad
// button when it has one: "R (pad: Y)".
std::string namedKey(const world::GameState& state, world::CommandIndex command, bool withPad);

// The two digits shown for a level number. Numbers outside 0 to 99 show the nearest of them,
// so the digits always name one of the ten digit pictures.
struct LevelDigits {
  int32_t tens, units;
};
LevelDigits levelDigits(int32_t levelNumber);

// The line under the ready sign: "LEVEL 12 — Lift relay" (an em dash) for a level with a name,
// "LEVEL 12" without one.
std::string levelTitle(int32_t levelNumber, const std::string& name);

// The piece type shown in next-piece slot `slot`: the list entry pieceIndex + slot, or type 0
// for positions outside the ten-entry list.
int32_t slotPieceType(const world::GameState& state, int32_t slot);

}  // namespace mdx::render
