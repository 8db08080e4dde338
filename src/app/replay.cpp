#include "app/replay.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "app/frontend.h"
#include "app/game.h"
#include "world/state_text.h"

namespace mdx::app {

namespace {

constexpr const char* kMagic = "marvolen-replay 1";

const char* eventWord(ReplayEvent event) {
  switch (event) {
    case ReplayEvent::Start:
      return "start";
    case ReplayEvent::Frame:
      return "frame";
    case ReplayEvent::Draw:
      return "draw";
    case ReplayEvent::Escape:
      return "escape";
  }
  return "?";
}

// "1000,1000,1001": one or more tick counts.
bool parseReadings(const std::string& text, std::vector<uint32_t>& readings) {
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    if (item.empty() || item.size() > 10 || item.find_first_not_of("0123456789") != item.npos) {
      return false;
    }
    const unsigned long long value = std::stoull(item);
    if (value > UINT32_MAX) return false;
    readings.push_back(static_cast<uint32_t>(value));
  }
  return !readings.empty();
}

// "39": a key code of exactly two hex digits.
bool parseKey(const std::string& text, uint8_t& key) {
  if (text.size() != 2 || text.find_first_not_of("0123456789abcdefABCDEF") != text.npos) {
    return false;
  }
  key = static_cast<uint8_t>(std::stoul(text, nullptr, 16));
  return true;
}

// Reads the rest of a start, frame or draw line into step; false on a malformed line.
bool parseStepLine(std::istringstream& words, ReplayStep& step) {
  std::string token;
  if (!(words >> token) || !parseReadings(token, step.readings)) return false;
  while (words >> token) {
    uint8_t key = 0;
    if (step.event == ReplayEvent::Start || !parseKey(token, key)) return false;
    step.keysDown.push_back(key);
  }
  return true;
}

// Reads one non-blank, non-comment line into the replay; false with error set on bad input.
bool parseLine(const std::string& line, Replay& replay, std::string& error) {
  std::istringstream words(line);
  std::string word;
  words >> word;
  ReplayStep step;
  if (word == "pack") {
    if (!(words >> replay.packName)) error = "pack needs a folder name";
  } else if (word == "windowed") {
    int value = -1;
    if (!(words >> value) || (value != 0 && value != 1)) error = "windowed must be 0 or 1";
    replay.windowed = static_cast<uint8_t>(value);
  } else if (word == "escape") {
    step.event = ReplayEvent::Escape;
    replay.steps.push_back(step);
  } else if (word == "start" || word == "frame" || word == "draw") {
    step.event = word == "start"   ? ReplayEvent::Start
                 : word == "frame" ? ReplayEvent::Frame
                                   : ReplayEvent::Draw;
    const bool first = replay.steps.empty();
    if ((step.event == ReplayEvent::Start) != first) {
      error = first ? "the replay must begin with a start line" : "only one start line";
    } else if (!parseStepLine(words, step)) {
      error = "expected tick counts (digits, comma-separated) and two-digit hex key codes";
    } else {
      replay.steps.push_back(step);
    }
  } else {
    error = "unknown word '" + word + "'";
  }
  return error.empty();
}

// Serves the clock readings and keys of the step being played.
class PlaybackSource : public Clock, public KeySource {
 public:
  void enter(const ReplayStep& step) {
    step_ = &step;
    next_ = 0;
  }
  uint32_t ticks() override {
    if (step_ != nullptr && next_ < step_->readings.size()) last_ = step_->readings[next_++];
    return last_;
  }
  bool read(KeyState& state) override {
    state.fill(0);
    if (step_ != nullptr) {
      for (uint8_t key : step_->keysDown) state[key] = kKeyDown;
    }
    return true;
  }
  void acquire() override {}

 private:
  const ReplayStep* step_ = nullptr;
  size_t next_ = 0;
  uint32_t last_ = 0;
};

}  // namespace

std::optional<Replay> readReplay(std::istream& in, std::string& error) {
  Replay replay;
  std::string line;
  int number = 0;
  bool sawMagic = false;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == line.npos || line[0] == '#') continue;
    std::string problem;
    if (!sawMagic) {
      sawMagic = line == kMagic;
      if (!sawMagic) problem = std::string("not a replay: the first line must be '") + kMagic + "'";
    } else {
      parseLine(line, replay, problem);
    }
    if (!problem.empty()) {
      error = "replay line " + std::to_string(number) + ": " + problem;
      return std::nullopt;
    }
  }
  if (replay.steps.empty()) {
    error = sawMagic ? "replay has no start line" : "replay is empty";
    return std::nullopt;
  }
  return replay;
}

void writeReplay(std::ostream& out, const Replay& replay) {
  out << kMagic << "\npack " << replay.packName << "\nwindowed " << int(replay.windowed) << "\n";
  for (const ReplayStep& step : replay.steps) {
    out << eventWord(step.event);
    for (size_t i = 0; i < step.readings.size(); ++i)
      out << (i == 0 ? " " : ",") << step.readings[i];
    for (uint8_t key : step.keysDown) {
      const char* hex = "0123456789abcdef";
      out << ' ' << hex[key >> 4] << hex[key & 15];
    }
    out << "\n";
  }
}

ReplayResult runReplay(const Replay& replay, const StepWatcher& afterStep) {
  PlaybackSource source;
  CountingPresenter presenter;
  RecordingWindow window;
  Game game(source, source, presenter, window, nullptr, nullptr);
  game.state.options.packName = replay.packName;
  game.state.options.windowed = replay.windowed;
  game.windowActive = 1;
  ReplayResult result;
  game.stateLog = [&result](const std::string& line) { result.stateLog.push_back(line); };
  for (const ReplayStep& step : replay.steps) {
    source.enter(step);
    switch (step.event) {
      case ReplayEvent::Start:
        game.startUp();
        break;
      case ReplayEvent::Frame:
        game.runFrame();
        break;
      case ReplayEvent::Draw:
        game.drawFrame();
        break;
      case ReplayEvent::Escape:
        game.escapeReleased();
        break;
    }
    if (afterStep) afterStep(result.stepsRun, game.state);
    ++result.stepsRun;
    if (window.destroyed > 0) break;
  }
  result.windowDestroyed = window.destroyed > 0;
  result.state = game.state;
  return result;
}

uint64_t stateDigest(const world::GameState& state) {
  return world::stateHash(state);
}

void ReplayRecorder::begin(ReplayEvent event) {
  ReplayStep step;
  step.event = event;
  replay.steps.push_back(step);
  keysRecorded_ = false;
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

}  // namespace mdx::app
