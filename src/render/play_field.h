// The level as pictures: blocks, devices, the falling piece, the exit lights and the robot.
#pragma once

#include "render/assets.h"
#include "world/game_state.h"

namespace mdx::render {

// The play field of the three playing states, drawn after the backgrounds and before the
// overlays: depth pass ("3D" blocks), exit lights, blocks, devices, piece, robot.
void drawPlayField(const world::GameState& state, Assets& assets);

// The ending picture: depth pass, blocks without conveyors, devices, the standing robot, and
// the ending's quit prompt last.
void drawEnding(const world::GameState& state, Assets& assets);

}  // namespace mdx::render
