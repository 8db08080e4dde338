// Replays: a recorded run of the game as plain text, played back headless. A replay holds the
// options that matter to the game and, for each call into the game object, the clock
// readings it made and the keys held. Played back with the same level files, it reproduces
// the same game state, which a digest makes easy to compare.
//
// The text format, one item per line ('#' starts a comment line, blank lines are skipped):
//   marvolen-replay 1
//   version <text>              the program version that recorded it (optional)
//   pack <folder name>          the map pack (default "mappack1")
//   packhash <16 hex digits>    hash of the pack's level files when recorded (optional)
//   level <n>                   the level the session started on (optional, 0 = the title)
//   record <n>                  the player's saved record for the pack when the session began:
//                               the highest level the title let them start, 1 to 98 (optional)
//   windowed <0|1>              (default 1)
//   start <t>[,<t>...]          the start-up's clock readings
//   frame <t>[,<t>...] [<key>...]   one frame: clock readings, then held keys as two hex digits
//   draw <t>[,<t>...] [<key>...]    a drawing without timers (full screen after an event)
//   escape                      the Escape key released
//   fullscreen                  the window switched to full screen (Alt+Enter)
//   window                      full screen switched back to a window
// Readings are tick counts in milliseconds. When the game asks for more readings than a line
// gives, the last one repeats, so hand-written replays need only one reading per line.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/key_source.h"
#include "app/saved_progress.h"
#include "world/game_state.h"

namespace mdx::app {

class Game;

enum class ReplayEvent { Start, Frame, Draw, Escape, ToFullScreen, ToWindow };

struct ReplayStep {
  ReplayEvent event = ReplayEvent::Frame;
  std::vector<uint32_t> readings;  // clock readings during the step, in order
  std::vector<uint8_t> keysDown;   // key codes held at the step's keyboard read
};

struct Replay {
  std::string version;  // empty: not recorded, not checked
  std::string packName = "mappack1";
  std::string packHash;    // empty: not recorded, not checked
  int32_t startLevel = 0;  // 0: the session started on the title
  // The player's record when the session began. Unset in replays made before it was recorded:
  // those play with no record at all, as they always did.
  std::optional<int32_t> record;
  uint8_t windowed = 1;
  std::vector<ReplayStep> steps;  // the first is the start-up
};

// Reads a replay. On bad input returns nothing and sets error to a message naming the line.
std::optional<Replay> readReplay(std::istream& in, std::string& error);

// Writes a replay in the text format above; readReplay reads it back unchanged.
void writeReplay(std::ostream& out, const Replay& replay);

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

// Why the replay cannot be played here (from the current folder, the game folder): a version
// or a pack's level files that differ from those it was recorded with. Empty when it can.
std::string replayMismatch(const Replay& replay);

// Writes a recorded session to path (through a temporary file, renamed when complete), with
// the program version and the hash of the pack's level files filled in. Returns a message
// naming the file when it cannot be written, else "".
std::string saveRecording(Replay replay, const std::string& path);

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
// record for the pack, and every level won raises the record (written to the file, if any).
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

// Plays a replay headless from the current working folder (the game folder): sound off,
// a presenter that draws nothing. A replay with a start level begins that level right after
// the start-up, as --level does. Stops early when the game destroys its window.
ReplayResult runReplay(const Replay& replay, const StepWatcher& afterStep = {});

// A 64-bit digest of every field of the game state (the service pointers excluded).
uint64_t stateDigest(const world::GameState& state);

// Records a run into a Replay: wraps the real clock and keyboard, and the caller marks each
// call into the game object with begin() just before making it.
class ReplayRecorder {
 public:
  ReplayRecorder(Clock& clock, KeySource& keys) : clock_(*this, clock), keys_(*this, keys) {}

  // The clock and keyboard to hand to the game object in place of the real ones.
  Clock& clock() { return clock_; }
  KeySource& keys() { return keys_; }

  // Starts a new step: Start before startUp, Frame before runFrame, Draw before drawFrame,
  // Escape before escapeReleased, ToFullScreen and ToWindow when the window mode switched.
  void begin(ReplayEvent event);

  // Starts the session just before startUp: notes the record the game starts with (the
  // title's level limit, loaded from the saved progress) and begins the Start step.
  void beginSession(const world::GameState& state);

  Replay replay;

 private:
  class TapClock : public Clock {
   public:
    TapClock(ReplayRecorder& owner, Clock& inner) : owner_(owner), inner_(inner) {}
    uint32_t ticks() override;

   private:
    ReplayRecorder& owner_;
    Clock& inner_;
  };
  class TapKeys : public KeySource {
   public:
    TapKeys(ReplayRecorder& owner, KeySource& inner) : owner_(owner), inner_(inner) {}
    bool read(KeyState& state) override;
    void acquire() override { inner_.acquire(); }

   private:
    ReplayRecorder& owner_;
    KeySource& inner_;
  };

  ReplayStep* current();

  TapClock clock_;
  TapKeys keys_;
  bool keysRecorded_ = false;  // the current step's keyboard read is recorded
};

}  // namespace mdx::app
