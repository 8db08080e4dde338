// marvolen-sim: plays a level headless from a string of action letters and prints the world
// state as JSON, for checking the rules from outside and for level designers.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sim/sim_args.h"
#include "sim/state_json.h"
#include "world/actions.h"
#include "world/game_state.h"

namespace {

using mdx::world::GameState;

// Starts the level the arguments name, as the game would from the current folder.
void startLevel(GameState& game, const mdx::sim::SimArgs& args) {
  if (args.file) {
    game.progress.levelNumber = args.levelNumber;
    game.startLevelFromFile(*args.file);
  } else {
    game.options.packName = *args.pack;
    game.progress.levelNumber = *args.level;
    game.startLevel(*args.level);
  }
}

int run(const mdx::sim::SimArgs& args) {
  if (args.dir && chdir(args.dir->c_str()) != 0) {
    std::fprintf(stderr, "marvolen-sim: cannot change into '%s': %s\n", args.dir->c_str(),
                 std::strerror(errno));
    return 2;
  }
  mdx::world::RecordingSampleSink sounds;
  mdx::world::RecordingMessageBoxes messages;
  GameState game(&sounds, &messages);
  game.options.soundEnabled = 1;  // effects are recorded, nothing is heard
  auto print = [&] { std::puts(mdx::sim::stateJson(game, sounds.played, messages.shown).c_str()); };
  startLevel(game, args);
  if (args.trace) print();
  for (char action : args.actions) {
    mdx::world::performAction(game, action);
    if (args.trace) print();
  }
  if (!args.trace) print();
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const mdx::sim::ParseResult parsed = mdx::sim::parseSimArgs(arguments);
  if (parsed.args.help) {
    std::puts(mdx::sim::simUsage());
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "marvolen-sim: %s\n%s\n", parsed.error.c_str(), mdx::sim::simUsage());
    return 2;
  }
  return run(parsed.args);
}
