// Replay references: the states a replay passes through, stored as readable JSON lines so a
// failing replay names the first step and field that differ. Line n is the object
// {"step":n, ...} holding every state value that changed in step n ("name", "name[i]",
// "name[i][j]"); the first line holds what differs from a freshly made game state.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "app/replay.h"

namespace mdx::app {

// Plays the replay and writes its reference.
void writeReplayReference(const Replay& replay, const world::PackLayout& pack, std::ostream& out);

// Plays the replay against its reference. Returns nothing when every step matches (floats
// within a small tolerance), else a message naming the first step and field that differ,
// or the line of the reference that cannot be read.
std::optional<std::string> checkReplayReference(const Replay& replay, const world::PackLayout& pack,
                                                std::istream& reference);

}  // namespace mdx::app
