#include "app/replay_recorder.h"

#include <sstream>

#include "app/replay.h"
#include "base/files.h"

namespace mdx::app {

void ReplayRecorder::begin(ReplayEvent event) {
  ReplayStep step;
  step.event = event;
  replay.steps.push_back(step);
  keysRecorded_ = false;
}

void ReplayRecorder::beginSession(const world::GameState& state, TimerRule rule) {
  replay.record = state.keys.titleLevelLimit;
  replay.timerRule = rule;
  begin(ReplayEvent::Start);
}

ReplayStep* ReplayRecorder::current() {
  return replay.steps.empty() ? nullptr : &replay.steps.back();
}

uint32_t ReplayRecorder::TapClock::ticks() {
  const uint32_t now = inner_.ticks();
  if (ReplayStep* step = owner_.current()) step->readings.push_back(now);
  return now;
}

bool ReplayRecorder::TapKeys::read(KeyState& state) {
  const bool ok = inner_.read(state);
  ReplayStep* step = owner_.current();
  if (step == nullptr || owner_.keysRecorded_) return ok;
  owner_.keysRecorded_ = true;
  // A failed read counts as all keys up, and so it is recorded.
  for (int key = 0; ok && key < 256; ++key) {
    if (state[key] & kKeyDown) step->keysDown.push_back(static_cast<uint8_t>(key));
  }
  return ok;
}

std::string saveRecording(Replay replay, const std::string& path, const std::string& packFolder) {
  replay.version = programVersion();
  replay.packHash = packLevelsHash(packFolder);
  std::ostringstream text;
  writeReplay(text, replay);
  std::string error;
  if (base::writeFileSafely(path, text.str(), error)) return "";
  return "cannot write the replay " + path + ": " + error;
}

}  // namespace mdx::app
