#include "app/replay.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/frontend.h"
#include "app/game.h"
#include "world/state_text.h"

namespace mdx::app {

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
      game.timers.rule = replay.timerRule;  // the rule the session was recorded with
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
  progress.tellPlayer = [&game](const std::string& line) { game.showNotice(line); };
  progress.load();
  world::Keys& keys = game.state.keys;
  const std::string pack = game.state.options.packName;
  keys.titleLevelLimit = progress.startableLevel(pack, game.state.packLevelCount());
  keys.titleLevel = keys.titleLevelLimit;  // the choice starts on the record
  game.levelReached = [&game, &progress, pack](int32_t nextLevel) {
    const int32_t levelCount = game.state.progress.levelCount;
    progress.reach(pack, nextLevel, levelCount);
    world::Keys& k = game.state.keys;
    const int32_t record = progress.startableLevel(pack, levelCount);
    if (record > k.titleLevelLimit) k.titleLevel = record;
    k.titleLevelLimit = record;
  };
  game.state.hint.usedPerLevel = progress.progress().hintsUsed(pack);
  game.hintShown = [&game, &progress, pack](int32_t level) {
    progress.addHint(pack, level);
    game.state.hint.usedPerLevel = progress.progress().hintsUsed(pack);
  };
}

void connectReplayRecord(Game& game, const Replay& replay, ProgressFile& memory) {
  if (!replay.record) return;
  memory.reach(replay.packName, *replay.record, *replay.record);
  connectProgress(game, memory);
}

ReplayResult runReplay(const Replay& replay, const world::PackLayout& pack,
                       const StepWatcher& afterStep) {
  ReplayPlayer source;
  CountingPresenter presenter;
  RecordingWindow window;
  Game game(source, source, presenter, window, nullptr, nullptr);
  game.state.options.packName = replay.packName;
  game.state.pack = pack;
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
    if (world::levelNumberOfFile(name) && it->is_regular_file(error)) levels.push_back(it->path());
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

std::string replayMismatch(const Replay& replay, const std::string& packFolder) {
  if (!replay.version.empty() && replay.version != programVersion()) {
    return "the replay was recorded by version " + replay.version + "; this is version " +
           programVersion();
  }
  if (!replay.packHash.empty() && replay.packHash != packLevelsHash(packFolder)) {
    return "the level files of pack '" + replay.packName +
           "' differ from those the replay was recorded with";
  }
  return "";
}

uint64_t stateDigest(const world::GameState& state) {
  return world::stateHash(state);
}

}  // namespace mdx::app
