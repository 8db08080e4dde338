// marvolen-sim: plays a level headless from a string of action letters and prints the world
// state as JSON, for checking the rules from outside and for level designers.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/data_dirs.h"
#include "app/replay.h"
#include "app/replay_reference.h"
#include "base/files.h"
#include "base/text.h"
#include "level/level_checks.h"
#include "level/pack_commands.h"
#include "sim/sim_args.h"
#include "sim/sim_run.h"
#include "sim/state_json.h"
#include "world/game_state.h"

namespace {

using mdx::world::GameState;

bool canOpen(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), R_OK) == 0;
}

// The pack the game would play under name with the data folder dataFolder: one of the
// catalogue (the shipped packs and the player's own), or an unlisted folder of the data
// folder. nullopt after saying where it was looked for.
std::optional<mdx::world::PackLayout> findPack(const std::string& dataFolder,
                                               const std::string& name) {
  const mdx::world::PackCatalog catalog = mdx::app::readGameCatalog(dataFolder);
  const mdx::world::PackLayout pack = catalog.layoutOf(name);
  struct stat info;
  if (stat(pack.packFolder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return pack;
  std::string folders = dataFolder;
  const std::string players = mdx::app::userPackFolder();
  if (!players.empty()) folders += ", " + players;
  std::fprintf(stderr, "marvolen-sim: pack '%s' not found in %s\n", name.c_str(), folders.c_str());
  return std::nullopt;
}

// The game's data folder: --data, else the folder the game and the level tools find.
// "" after saying why there is none.
std::string findDataFolder(const mdx::sim::SimArgs& args) {
  std::string folder = mdx::level::findGameDir(args.dir.value_or(""), std::cerr);
  struct stat info;
  if (!folder.empty() && (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
    std::fprintf(stderr, "marvolen-sim: no folder '%s'\n", folder.c_str());
    folder.clear();
  }
  return folder;
}

// Starts the level the arguments name, as the game would. A level source is built through
// the level tools first. Returns a message naming the file when the level is not there: the
// game then runs the empty level its loader leaves.
std::string startLevel(GameState& game, const mdx::sim::SimArgs& args, bool& broken) {
  broken = false;
  if (args.file && mdx::base::endsWith(*args.file, ".src")) {
    mdx::level::CheckedFile source;
    game.progress.levelNumber = args.levelNumber;
    broken = !mdx::level::readCheckedFile(*args.file, source);
    if (!broken) mdx::level::startLevelGame(source.level, game);
    return source.error;
  }
  if (args.file) {
    game.progress.levelNumber = args.levelNumber;
    game.startLevelFromFile(*args.file);
    return canOpen(*args.file) ? "" : *args.file + ": cannot open the level file";
  }
  game.options.packName = *args.pack;
  game.progress.levelNumber = *args.level;
  game.startLevel(*args.level);
  const std::string path = game.pack.levelPath(*args.level);
  return canOpen(path) ? "" : path + ": the pack has no level " + std::to_string(*args.level);
}

// Plays the replay against its reference; the first difference goes to stderr (status 1).
int checkReference(const mdx::app::Replay& replay, const mdx::world::PackLayout& pack,
                   const std::string& name, const std::string& referencePath) {
  std::ifstream reference(referencePath, std::ios::binary);
  const std::optional<std::string> failure =
      reference ? mdx::app::checkReplayReference(replay, pack, reference)
                : std::optional<std::string>("cannot open the reference " + referencePath);
  if (!failure) return 0;
  std::fprintf(stderr, "marvolen-sim: %s: %s\n", name.c_str(), failure->c_str());
  return 1;
}

// Writes the replay's reference safely, so a failed write loses nothing.
int writeReference(const mdx::app::Replay& replay, const mdx::world::PackLayout& pack,
                   const std::string& path) {
  std::ostringstream text;
  mdx::app::writeReplayReference(replay, pack, text);
  std::string error;
  if (mdx::base::writeFileSafely(path, text.str(), error)) return 0;
  std::fprintf(stderr, "marvolen-sim: %s\n", error.c_str());
  return 1;
}

// Plays a recorded session headless with the game's data and prints the whole game state as
// JSON (one line per step with --trace), so two builds can be compared line by line.
int runReplay(const mdx::sim::SimArgs& args, const std::string& dataFolder) {
  std::ifstream in(*args.replay, std::ios::binary);
  std::string error;
  std::optional<mdx::app::Replay> replay;
  if (in) {
    replay = mdx::app::readReplay(in, error);
  } else {
    error = "cannot open the replay";
  }
  if (!replay) {
    std::fprintf(stderr, "marvolen-sim: %s: %s\n", args.replay->c_str(), error.c_str());
    return 1;
  }
  const std::optional<mdx::world::PackLayout> pack = findPack(dataFolder, replay->packName);
  if (!pack) return 1;
  error = mdx::app::replayMismatch(*replay, pack->packFolder);
  if (!error.empty()) {
    std::fprintf(stderr, "marvolen-sim: %s: %s\n", args.replay->c_str(), error.c_str());
    return 1;
  }
  if (args.check) return checkReference(*replay, *pack, *args.replay, *args.check);
  if (args.writeReference) return writeReference(*replay, *pack, *args.writeReference);
  auto print = [](const GameState& state) { std::puts(mdx::sim::fullStateJson(state).c_str()); };
  const mdx::app::ReplayResult result =
      mdx::app::runReplay(*replay, *pack, [&](int, const GameState& state) {
        if (args.trace) print(state);
      });
  if (!args.trace) print(result.state);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int run(const mdx::sim::SimArgs& args) {
  // A loose level needs no game data; a pack and a replay are played from it.
  const bool needsData = args.replay || args.pack || args.dir;
  const std::string dataFolder = needsData ? findDataFolder(args) : "";
  if (needsData && dataFolder.empty()) return 2;
  if (args.replay) return runReplay(args, dataFolder);
  mdx::world::RecordingSampleSink sounds;
  mdx::world::RecordingMessageBoxes messages;
  GameState game(&sounds, &messages);
  game.options.soundEnabled = 1;  // effects are recorded, nothing is heard
  if (args.pack) {
    const std::optional<mdx::world::PackLayout> pack =
        *args.level == mdx::world::kEndingLevel
            ? mdx::app::readGameCatalog(dataFolder).layoutOf(*args.pack)  // lies in media/
            : findPack(dataFolder, *args.pack);
    if (!pack) {
      std::puts(mdx::sim::stateJson(game, sounds.played, messages.shown).c_str());
      return 1;
    }
    game.pack = *pack;
  }
  auto print = [&] { std::puts(mdx::sim::stateJson(game, sounds.played, messages.shown).c_str()); };
  bool broken = false;
  const std::string missing = startLevel(game, args, broken);
  if (broken) {  // a level source with a mistake: there is no level to run
    std::fprintf(stderr, "marvolen-sim: %s\n", missing.c_str());
    return 1;
  }
  if (args.trace) print();
  mdx::sim::ScriptRun script(
      game, [&] { startLevel(game, args, broken); },
      [&] {
        if (args.trace) print();
      });
  const mdx::sim::Outcome outcome = script.run(args.actions);
  if (!args.trace) print();
  if (!missing.empty()) std::fprintf(stderr, "marvolen-sim: %s\n", missing.c_str());
  if (std::fflush(stdout) != 0 || !missing.empty()) return 1;
  for (const std::string& note : script.notes())
    std::fprintf(stderr, "marvolen-sim: note: %s\n", note.c_str());
  return mdx::sim::exitStatus(outcome);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const mdx::sim::ParseResult parsed = mdx::sim::parseSimArgs(arguments);
  if (parsed.args.help) {
    std::puts(mdx::sim::simUsage());
    std::fputs(mdx::sim::simHelp().c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "marvolen-sim: %s\n%s\n", parsed.error.c_str(), mdx::sim::simUsage());
    return 2;
  }
  return run(parsed.args);
}
