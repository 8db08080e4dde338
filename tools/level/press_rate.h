// How fast a solution asks the player's fingers to go. For each piece the figure is the
// steadiest pace of Left and Right presses that still takes it to the place the solution
// gives it: the player may press as late as the piece allows, for as long as it falls by
// itself on the way there, and a press counts when its key is released. Everything is played
// with the game's own side moves, drops and timer periods, so the figure is what the game
// does. The search figures say how hard a level is to work out; this says how hard it is on
// the hands.
#pragma once

#include <string>
#include <vector>

#include "solve/solver.h"
#include "world/game_state.h"

namespace mdx::level {

// The pace one piece needs. Where its presses can be spread over the whole fall, perSecond
// is presses over the time from the piece's appearance to the drop after which it could no
// longer reach its place; where an obstacle makes some of them wait, the stretch after it
// counts alone.
struct PressRate {
  int presses = 0;         // the fewest presses that reach the place; 0: none needed (or no
                           // choice at all)
  double perSecond = 0.0;  // the slowest steady pace of presses a second that reaches it
  bool reachable = true;   // false: no pace reaches the place (a solution the game disagrees
                           // with; reported, never expected)
};

// The pace every piece of solution needs, in piece order. start is the level as solveLevel
// was given it.
std::vector<PressRate> pressRates(const world::GameState& start, const SolveResult& solution);

// The level's figure: the piece that needs the fastest pace (an empty rate when none needs a
// press; an unreachable piece wins over any pace).
PressRate tightestPressRate(const std::vector<PressRate>& rates);

// "9.17 presses a second (11 presses)", or "no presses", for reports.
std::string describePressRate(const PressRate& rate);

}  // namespace mdx::level
