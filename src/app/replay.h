// Replays: a recorded session (see replay_format.h for the file and replay_recorder.h for the
// recording) played back headless or in the window. Played back with the same level files
// and timer rule, it reproduces the same game state, which a digest makes easy to compare.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/key_source.h"
#include "app/replay_format.h"
#include "app/replay_recorder.h"
#include "app/saved_progress.h"
#include "world/game_state.h"

namespace mdx::app {

class Game;

// The outcome of playing a replay.
struct ReplayResult {
  world::GameState state;
  bool windowDestroyed = false;  // the replay ended the game (quit)
  int stepsRun = 0;
  std::vector<std::string> stateLog;  // the game's state log lines, in order
};

// The version of this program, as replays record it.
std::string programVersion();

// A hash of a pack's level files (names and contents of every levelNN.dat in the folder, in
// name order), as 16 hex digits. A missing folder hashes like an empty one.
std::string packLevelsHash(const std::string& packFolder);

// Why the replay cannot be played with the pack in packFolder: a version or a pack's level
// files that differ from those it was recorded with. Empty when it can.
std::string replayMismatch(const Replay& replay, const std::string& packFolder);

// Serves the clock readings and keys of the replay step being played, in place of the real
// clock and keyboard. When the game asks for more readings than the step holds, the last
// one repeats.
class ReplayPlayer : public Clock, public KeySource {
 public:
  void enter(const ReplayStep& step);
  uint32_t ticks() override;
  bool read(KeyState& state) override;
  void acquire() override {}

 private:
  const ReplayStep* step_ = nullptr;
  size_t next_ = 0;
  uint32_t last_ = 0;
};

// Connects the saved progress to the game: the title's level choice starts on the player's
// record for the pack, and every level won raises the record (written to the file, if any);
// every hint shown is counted for its level, and the title shows the counts.
void connectProgress(Game& game, ProgressFile& progress);

// For playing a replay: connects memory (a ProgressFile with no path, so nothing is read or
// written) to the game holding the replay's record, so the title's level choice starts and
// rises as it did in the recorded session. A replay without a record connects nothing.
void connectReplayRecord(Game& game, const Replay& replay, ProgressFile& memory);

// Makes the call of one replay step into the game (the start-up also begins the replay's
// start level), with player serving that step.
void playStep(Game& game, const Replay& replay, const ReplayStep& step, ReplayPlayer& player);

// Called after each step of a replay with the step's index (0 is the start-up) and the state.
using StepWatcher = std::function<void(int step, const world::GameState& state)>;

// Plays a replay headless on the pack whose files lie as pack says: sound off, a presenter
// that draws nothing. A replay with a start level begins that level right after the
// start-up, as --level does. Stops early when the game destroys its window.
ReplayResult runReplay(const Replay& replay, const world::PackLayout& pack,
                       const StepWatcher& afterStep = {});

// A 64-bit digest of every field of the game state (the service pointers excluded).
uint64_t stateDigest(const world::GameState& state);

}  // namespace mdx::app
