// Recording a session: the recorder stands between the game and the real clock and keyboard,
// noting every reading they give, one replay step per call into the game object.
#pragma once

#include <string>

#include "app/clock.h"
#include "app/key_source.h"
#include "app/replay_format.h"
#include "world/game_state.h"

namespace mdx::app {

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
  // title's level limit, loaded from the saved progress) and its timer rule, and begins the
  // Start step.
  void beginSession(const world::GameState& state, TimerRule rule);

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

// Writes a recorded session to path (safely: the old file stays whole until the new one is),
// with the program version and the hash of the level files in packFolder filled in. Returns a
// message naming the file when it cannot be written, else "".
std::string saveRecording(Replay replay, const std::string& path, const std::string& packFolder);

}  // namespace mdx::app
