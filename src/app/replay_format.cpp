#include "app/replay_format.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "app/saved_progress.h"

namespace mdx::app {

namespace {

constexpr const char* kMagicWord = "marvolen-replay";
constexpr int kCurrentVersion = 2;

// Every call a step line can stand for, by the word that starts its line.
struct EventWord {
  ReplayEvent event;
  const char* word;
};
constexpr EventWord kEventWords[] = {{ReplayEvent::Start, "start"},
                                     {ReplayEvent::Frame, "frame"},
                                     {ReplayEvent::Draw, "draw"},
                                     {ReplayEvent::Escape, "escape"},
                                     {ReplayEvent::ToFullScreen, "fullscreen"},
                                     {ReplayEvent::ToWindow, "window"}};

struct TimerRuleWord {
  TimerRule rule;
  const char* word;
};
constexpr TimerRuleWord kTimerRuleWords[] = {{TimerRule::CatchUp, "catch-up"},
                                             {TimerRule::FrameBound, "frame-bound"}};

const char* eventWord(ReplayEvent event) {
  for (const EventWord& entry : kEventWords) {
    if (entry.event == event) return entry.word;
  }
  return "?";
}

const EventWord* findEventWord(const std::string& word) {
  const auto found = std::find_if(std::begin(kEventWords), std::end(kEventWords),
                                  [&word](const EventWord& entry) { return word == entry.word; });
  return found == std::end(kEventWords) ? nullptr : found;
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

// The words of a version 1 file that carried nothing the reader used after them.
bool bareInVersion1(ReplayEvent event) {
  return event == ReplayEvent::Escape || event == ReplayEvent::ToFullScreen ||
         event == ReplayEvent::ToWindow;
}

// Reads the rest of a step line (after its word) into step; false on a malformed line.
bool parseStepLine(std::istringstream& words, int version, ReplayStep& step) {
  std::string token;
  if (version == 1 && bareInVersion1(step.event)) return true;
  if (!(words >> token)) return version == 1 && step.event == ReplayEvent::Draw;
  if (!(version > 1 && token == "-") && !parseReadings(token, step.readings)) return false;
  while (words >> token) {
    uint8_t key = 0;
    if (step.event == ReplayEvent::Start || !parseKey(token, key)) return false;
    step.keysDown.push_back(key);
  }
  return true;
}

// Reads one step line; false with error set on bad input.
bool parseStep(const EventWord& entry, std::istringstream& words, int version, Replay& replay,
               std::string& error) {
  ReplayStep step;
  step.event = entry.event;
  const bool first = replay.steps.empty();
  if ((step.event == ReplayEvent::Start) != first) {
    error = first ? "the replay must begin with a start line" : "only one start line";
  } else if (!parseStepLine(words, version, step)) {
    error =
        "expected tick counts (digits, comma-separated; - for none) and two-digit hex key "
        "codes";
  } else {
    replay.steps.push_back(step);
  }
  return error.empty();
}

// Reads one header line (anything but a step); false with error set on bad input.
bool parseHeader(const std::string& word, std::istringstream& words, int version, Replay& replay,
                 std::string& error) {
  if (word == "pack") {
    if (!(words >> replay.packName)) error = "pack needs a folder name";
  } else if (word == "version") {
    if (!(words >> replay.version)) error = "version needs a value";
  } else if (word == "packhash") {
    if (!(words >> replay.packHash) || replay.packHash.size() != 16 ||
        replay.packHash.find_first_not_of("0123456789abcdef") != std::string::npos)
      error = "packhash must be 16 lower-case hex digits";
  } else if (word == "level") {
    long long value = -1;
    if (!(words >> value) || value < 0 || value > world::kEndingLevel) {
      error = "level must be 0 to " + std::to_string(world::kEndingLevel);
    }
    replay.startLevel = static_cast<int32_t>(value);
  } else if (word == "record") {
    long long value = 0;
    if (!(words >> value) || value < 1 || value > kMaxRecordedLevel) {
      error = "record must be 1 to " + std::to_string(kMaxRecordedLevel);
    } else {
      replay.record = static_cast<int32_t>(value);
    }
  } else if (word == "windowed") {
    int value = -1;
    if (!(words >> value) || (value != 0 && value != 1)) error = "windowed must be 0 or 1";
    replay.windowed = static_cast<uint8_t>(value);
  } else if (word == "timers" && version > 1) {
    std::string name;
    words >> name;
    const auto found =
        std::find_if(std::begin(kTimerRuleWords), std::end(kTimerRuleWords),
                     [&name](const TimerRuleWord& entry) { return name == entry.word; });
    if (found == std::end(kTimerRuleWords)) error = "timers must be catch-up or frame-bound";
    if (found != std::end(kTimerRuleWords)) replay.timerRule = found->rule;
  } else {
    error = "unknown word '" + word + "'";
  }
  return error.empty();
}

// The format version a first line names: 1 or 2, or 0 with error set.
int readMagic(const std::string& line, std::string& error) {
  std::istringstream words(line);
  std::string magic;
  int version = 0;
  std::string rest;
  const std::string expected = std::string(kMagicWord) + " " + std::to_string(kCurrentVersion);
  if (!(words >> magic >> version) || magic != kMagicWord || (words >> rest)) {
    error = "not a replay: the first line must be '" + expected + "'";
    return 0;
  }
  if (version < 1 || version > kCurrentVersion) {
    error = "the replay is of format version " + std::to_string(version) +
            "; this program reads versions 1 to " + std::to_string(kCurrentVersion);
    return 0;
  }
  return version;
}

}  // namespace

std::optional<Replay> readReplay(std::istream& in, std::string& error) {
  Replay replay;
  std::string line;
  int number = 0;
  int version = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == line.npos || line[0] == '#') continue;
    std::string problem;
    if (version == 0) {
      version = readMagic(line, problem);
      // The first rule was the only one before the format said which.
      if (version == 1) replay.timerRule = TimerRule::FrameBound;
    } else {
      std::istringstream words(line);
      std::string word;
      words >> word;
      if (const EventWord* entry = findEventWord(word)) {
        parseStep(*entry, words, version, replay, problem);
      } else {
        parseHeader(word, words, version, replay, problem);
      }
    }
    if (!problem.empty()) {
      error = "replay line " + std::to_string(number) + ": " + problem;
      return std::nullopt;
    }
  }
  if (replay.steps.empty()) {
    error = version != 0 ? "replay has no start line" : "replay is empty";
    return std::nullopt;
  }
  return replay;
}

void writeReplay(std::ostream& out, const Replay& replay) {
  out << kMagicWord << ' ' << kCurrentVersion << "\n";
  if (!replay.version.empty()) out << "version " << replay.version << "\n";
  out << "pack " << replay.packName << "\n";
  if (!replay.packHash.empty()) out << "packhash " << replay.packHash << "\n";
  if (replay.startLevel != 0) out << "level " << replay.startLevel << "\n";
  if (replay.record) out << "record " << *replay.record << "\n";
  out << "windowed " << int(replay.windowed) << "\n";
  for (const TimerRuleWord& entry : kTimerRuleWords) {
    if (entry.rule == replay.timerRule) out << "timers " << entry.word << "\n";
  }
  for (const ReplayStep& step : replay.steps) {
    out << eventWord(step.event) << ' ';
    if (step.readings.empty()) out << '-';
    for (size_t i = 0; i < step.readings.size(); ++i) {
      out << (i == 0 ? "" : ",") << step.readings[i];
    }
    for (uint8_t key : step.keysDown) {
      const char* hex = "0123456789abcdef";
      out << ' ' << hex[key >> 4] << hex[key & 15];
    }
    out << "\n";
  }
}

}  // namespace mdx::app
