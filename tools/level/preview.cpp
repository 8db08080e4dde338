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

// The number the game shows for a level: from a file named levelNN, else 1.
int32_t levelNumberOf(const std::string& path) {
  const std::string name = fs::path(path).stem().string();
  if (name.size() > 5 && name.compare(0, 5, "level") == 0 &&
      name.find_first_not_of("0123456789", 5) == std::string::npos) {
    return std::stoi(name.substr(5, 9));
  }
  return 1;
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
  // The game loads its pictures by paths relative to its folder: draw from there.
  const fs::path out = fs::absolute(args.out);
  std::error_code cd;
  const fs::path previous = fs::current_path();
  fs::current_path(gameDir, cd);
  if (cd) {
    err << gameDir << ": not a game folder (" << cd.message() << ")\n";
    return 1;
  }

  world::GameState state;
  state.progress.levelNumber = levelNumberOf(args.level);
  if (!startLevelGame(level, state, error)) {
    fs::current_path(previous, cd);
    err << "marvolen-level preview: " << error << '\n';
    return 1;
  }
  if (state.progress.levelNumber == 99) {
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
    gfx::SdlBackend backend(display->renderer());
    render::Assets assets;
    world::RecordingMessageBoxes messages;
    const int loaded = render::loadAssets(assets, backend, state.options.packName, &messages);
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
  fs::current_path(previous, cd);
  return status;
}

}  // namespace mdx::level
