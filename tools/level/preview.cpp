#include "level/preview.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "level/level_checks.h"
#include "level/level_source.h"
#include "level/pack_commands.h"
#include "level/tool_commands.h"
#include "render/assets.h"
#include "render/scene.h"
#include "world/game_state.h"

namespace mdx::level {

namespace {

namespace fs = std::filesystem;

struct PreviewArgs {
  std::string level, out;
  std::string gameDir;  // --data; else the game's data search
  bool running = false;
};

bool parseArgs(int argc, char** argv, PreviewArgs& args, std::ostream& err) {
  cli::ParsedArgs parsed = parseSubcommand("preview", argc, argv);
  if (parsed.error.empty() && parsed.words.size() != 2) parsed.error = "give FILE and OUT.png";
  if (!parsed.error.empty()) {
    err << "marvolen-level preview: " << parsed.error << "\nusage: " << subcommandUsage("preview")
        << '\n';
    return false;
  }
  args.level = parsed.words[0];
  args.out = parsed.words[1];
  args.gameDir = parsed.value("--data");
  args.running = parsed.has("--running");
  return true;
}

// The number the game shows for a level: from a file named as the game names level files
// (level07.dat, or its source level07.src), else 1.
int32_t levelNumberOf(const std::string& path) {
  return world::levelNumberOfFile(fs::path(path).stem().string() + ".dat").value_or(1);
}

}  // namespace

int previewCommand(int argc, char** argv, std::ostream& err) {
  PreviewArgs args;
  if (!parseArgs(argc, argv, args, err)) return 2;
  LevelSource level;
  std::string error;
  if (!loadLevel(args.level, level, error)) {
    err << error << '\n';
    return 1;
  }
  const std::string gameDir = findGameDir(args.gameDir, err);
  if (gameDir.empty()) return 1;
  const fs::path out = args.out;
  std::error_code notThere;
  if (!fs::is_directory(gameDir, notThere)) {
    err << gameDir << ": not a game folder\n";
    return 1;
  }

  world::GameState state;
  state.pack = world::shippedPackLayout(gameDir, state.options.packName);
  state.progress.levelNumber = levelNumberOf(args.level);
  startLevelGame(level, state);
  if (state.progress.levelNumber == world::kEndingLevel) {
    state.progress.gameState = world::StateEnding;
  } else {
    state.progress.gameState =
        args.running || state.world.pieceCount == 0 ? world::StateRunning : world::StateDropping;
  }
  if (args.running) state.scene.hudPhase = 2;

  int status = 1;
  auto display = gfx::Display::openHeadless();
  if (display == nullptr) {
    err << "marvolen-level preview: no software renderer\n";
  } else {
    gfx::SdlBackend backend(display->renderer(), gfx::defaultFontPaths(gameDir));
    render::Assets assets;
    world::RecordingMessageBoxes messages;
    const int loaded = render::loadAssets(assets, backend, state.pack, &messages);
    for (const auto& message : messages.shown) err << "missing picture: " << message.text << '\n';
    assets.blackWriter.create(backend, 0xFF000000u);
    assets.whiteWriter.create(backend, 0xFFFFFFFFu);
    render::drawScene(state, assets, backend);
    if (!display->savePng(out.string(), &error)) {
      err << out.string() << ": " << error << '\n';
    } else {
      status = loaded > 0 ? 0 : 1;
    }
  }
  return status;
}

}  // namespace mdx::level
