// The pure state changes of the frame loop's timers and of the piece keys, shared by the
// game's frame loop and the headless tools so both run exactly the same code. None of them
// looks at gameState or a clock: the caller decides when each one is due.
#pragma once

#include <cstdint>

#include "world/game_state.h"

namespace mdx::world {

// Periods of the rule steps in milliseconds: how often the frame loop runs each one, and how
// the headless tools interleave them.
constexpr uint32_t kAnimationPeriod = 30;   // swingBarStep, with the scene's animation
constexpr uint32_t kEffectPeriod = 20;      // explosionStep, with the banner and piece-bar slide
constexpr uint32_t kWorldStepPeriod = 150;  // worldStepWithFrame while the robot runs
constexpr uint32_t kDropPeriod = 600;       // dropStep while the pieces fall

// Sets the animation values the frame loop owns to their start values: before the loop's first
// frame, and again as part of every level start.
void setAnimationStartValues(Scene& scene);

// 30 ms timer, swing-bar part: advances gateTurn while a bar turns, finishes a turn (1 -> 2
// at 45 degrees, 3 -> 0 at 90, each with applyGates) and sets gateAngle from gateTurn.
void swingBarStep(GameState& game);

// 20 ms timer, explosion part: while explosionTicks > 0 turns the explosion image and counts
// on; past 20 ticks the explosion ends and applyGates clears its markers.
void explosionStep(GameState& game);

// 600 ms drop: a kPieceFallStep command, the move sound, handlePieceCommand, then pieceRow + 1
// (also right after a new piece appeared). Follow it with bottomRowStep.
void dropStep(GameState& game);

// Every frame of the dropping phase: a piece below row 27 is put back to row 27 and the
// next piece is set up.
void bottomRowStep(GameState& game);

// Left or Right released while dropping: asks the handler (command 1 or 3) and, if the move
// is allowed, moves the piece one column, keeping it within columns 0 to 31.
void sideMoveStep(GameState& game, bool left);

// 150 ms world step while levelComplete is 0: worldStep, then robotFrame follows the move
// (falling shows 2; otherwise the walking images 0 and 1 alternate; 3 stays).
void worldStepWithFrame(GameState& game);

}  // namespace mdx::world
