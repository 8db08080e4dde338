#include "app/replay.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
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
    case ReplayEvent::ToFullScreen:
      return "fullscreen";
    case ReplayEvent::ToWindow:
      return "window";
  }
  return "?";
}

// The events whose lines hold nothing but their word.
constexpr ReplayEvent kBareEvents[] = {ReplayEvent::Escape, ReplayEvent::ToFullScreen,
                                       ReplayEvent::ToWindow};

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
  } else if (word == "version") {
    if (!(words >> replay.version)) error = "version needs a value";
  } else if (word == "packhash") {
    if (!(words >> replay.packHash) || replay.packHash.size() != 16 ||
        replay.packHash.find_first_not_of("0123456789abcdef") != std::string::npos)
      error = "packhash must be 16 lower-case hex digits";
  } else if (word == "level") {
    long long value = -1;
    if (!(words >> value) || value < 0 || value > 99) error = "level must be 0 to 99";
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
  } else if (const auto bare =
                 std::find_if(std::begin(kBareEvents), std::end(kBareEvents),
                              [&word](ReplayEvent e) { return word == eventWord(e); });
             bare != std::end(kBareEvents)) {
    step.event = *bare;
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
  out << kMagic << "\n";
  if (!replay.version.empty()) out << "version " << replay.version << "\n";
  out << "pack " << replay.packName << "\n";
  if (!replay.packHash.empty()) out << "packhash " << replay.packHash << "\n";
  if (replay.startLevel != 0) out << "level " << replay.startLevel << "\n";
  if (replay.record) out << "record " << *replay.record << "\n";
  out << "windowed " << int(replay.windowed) << "\n";
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

void ReplayPlayer::enter(const ReplayStep& step) {
  step_ = &step;
  next_ = 0;
}

uint32_t ReplayPlayer::ticks() {
  if (step_ != nullptr && next_ < step_->readings.size()) last_ = step_->readings[next_++];
  return last_;
}

bool ReplayPlayer::read(KeyState& state) {
  state.fill(0);
  if (step_ != nullptr) {
    for (uint8_t key : step_->keysDown) state[key] = kKeyDown;
  }
  return true;
}

void playStep(Game& game, const Replay& replay, const ReplayStep& step, ReplayPlayer& player) {
  player.enter(step);
  switch (step.event) {
    case ReplayEvent::Start:
      game.startUp();
      if (replay.startLevel > 0) game.beginGame(replay.startLevel);
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
    case ReplayEvent::ToFullScreen:
    case ReplayEvent::ToWindow:
      game.state.options.windowed = step.event == ReplayEvent::ToWindow ? 1 : 0;
      break;
  }
}

void connectProgress(Game& game, ProgressFile& progress) {
  progress.load();
  world::Keys& keys = game.state.keys;
  const std::string pack = game.state.options.packName;
  keys.titleLevelLimit = progress.progress().highestLevel(pack);
  keys.titleLevel = keys.titleLevelLimit;  // the choice starts on the record
  game.levelReached = [&game, &progress, pack](int32_t nextLevel) {
    progress.reach(pack, nextLevel, game.state.progress.levelCount);
    world::Keys& k = game.state.keys;
    const int32_t record = progress.progress().highestLevel(pack);
    if (record > k.titleLevelLimit) k.titleLevel = record;
    k.titleLevelLimit = record;
  };
}

void connectReplayRecord(Game& game, const Replay& replay, ProgressFile& memory) {
  if (!replay.record) return;
  memory.reach(replay.packName, *replay.record, *replay.record);
  connectProgress(game, memory);
}

ReplayResult runReplay(const Replay& replay, const StepWatcher& afterStep) {
  ReplayPlayer source;
  CountingPresenter presenter;
  RecordingWindow window;
  Game game(source, source, presenter, window, nullptr, nullptr);
  game.state.options.packName = replay.packName;
  game.state.options.windowed = replay.windowed;
  game.windowActive = 1;
  ProgressFile record("", [](const std::string&) {});
  connectReplayRecord(game, replay, record);
  ReplayResult result;
  game.stateLog = [&result](const std::string& line) { result.stateLog.push_back(line); };
  for (const ReplayStep& step : replay.steps) {
    playStep(game, replay, step, source);
    if (afterStep) afterStep(result.stepsRun, game.state);
    ++result.stepsRun;
    if (window.destroyed > 0) break;
  }
  result.windowDestroyed = window.destroyed > 0;
  result.state = game.state;
  return result;
}

std::string programVersion() {
  return MDX_VERSION;
}

std::string packLevelsHash(const std::string& packFolder) {
  namespace fs = std::filesystem;
  std::vector<fs::path> levels;
  std::error_code error;
  for (fs::directory_iterator it(packFolder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.rfind("level", 0) == 0 && it->path().extension() == ".dat" &&
        it->is_regular_file(error))
      levels.push_back(it->path());
  }
  std::sort(levels.begin(), levels.end());
  uint64_t hash = 0xCBF29CE484222325ull;
  auto add = [&hash](const std::string& bytes) {
    for (unsigned char byte : bytes) hash = (hash ^ byte) * 0x100000001B3ull;
    hash = (hash ^ 0xFF) * 0x100000001B3ull;  // ends each piece, so "ab"+"c" differs from "a"+"bc"
  };
  for (const fs::path& level : levels) {
    std::ifstream in(level, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    add(level.filename().string());
    add(bytes.str());
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string saveRecording(Replay replay, const std::string& path) {
  replay.version = programVersion();
  replay.packHash = packLevelsHash(replay.packName);
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    writeReplay(out, replay);
    out.flush();
    if (out) {
      out.close();
      if (std::rename(temporary.c_str(), path.c_str()) == 0) return "";
    }
  }
  std::remove(temporary.c_str());
  return "cannot write the replay " + path;
}

std::string replayMismatch(const Replay& replay) {
  if (!replay.version.empty() && replay.version != programVersion()) {
    return "the replay was recorded by version " + replay.version + "; this is version " +
           programVersion();
  }
  if (!replay.packHash.empty() && replay.packHash != packLevelsHash(replay.packName)) {
    return "the level files of pack '" + replay.packName +
           "' differ from those the replay was recorded with";
  }
  return "";
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

void ReplayRecorder::beginSession(const world::GameState& state) {
  replay.record = state.keys.titleLevelLimit;
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

}  // namespace mdx::app
