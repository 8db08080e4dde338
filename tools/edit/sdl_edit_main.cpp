// marvolen-edit [FILE] [--game-dir DIR] [--budget SECONDS]: the level editor's window.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/data_dirs.h"
#include "edit/sdl_editor.h"
#include "level/pack_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: marvolen-edit [FILE] [--game-dir DIR] [--budget SECONDS] [--log FILE]\n"
    "Edits a level source (.src) or level file (.dat), or a new level without FILE.\n"
    "  --game-dir DIR     the game data folder (pictures, map packs); without it the editor\n"
    "                     looks where the game beside it looks ($MARVOLEN_DATA, the game's\n"
    "                     folder, the installed data, $XDG_DATA_DIRS)\n"
    "  --budget SECONDS   how long the live proof searches before it gives up (default 10)\n"
    "  --log FILE         write a line per edit, proof answer and saved file (for scripts)\n";

bool parseArgs(int argc, char** argv, mdx::edit::EditorOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--game-dir" && i + 1 < argc) {
      options.gameDir = argv[++i];
    } else if (arg == "--log" && i + 1 < argc) {
      options.logFile = argv[++i];
    } else if (arg == "--budget" && i + 1 < argc) {
      char* end = nullptr;
      options.budgetSeconds = std::strtod(argv[++i], &end);
      if (*end != '\0' || !(options.budgetSeconds > 0)) return false;
    } else if (arg.rfind("--", 0) != 0 && options.file.empty()) {
      options.file = arg;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  mdx::edit::EditorOptions options;
  if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!parseArgs(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // The window works inside the game folder; names given here are taken from where it starts.
  options.workDir = fs::current_path().string();
  if (!options.file.empty()) options.file = fs::absolute(options.file).string();
  if (!options.logFile.empty()) options.logFile = fs::absolute(options.logFile).string();
  options.gameDir = mdx::level::findGameDir(options.gameDir, std::cerr);
  if (options.gameDir.empty()) return 1;
  options.gameDir = fs::absolute(options.gameDir).string();
  // Play-tests start the game beside the editor: in the build's game folder, or installed.
  const std::string gameFolder = mdx::app::gameFolderBesideTool(mdx::app::runningProgramDir(),
                                                                mdx::app::installedToolLayout());
  options.gameProgram = (fs::path(gameFolder) / MDX_GAME_PROGRAM_NAME).string();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "marvolen-edit: %s\n", SDL_GetError());
    return 1;
  }
  int status = 1;
  {
    mdx::edit::EditorWindow window(options);
    if (window.open()) {
      window.run();
      status = 0;
    }
  }
  SDL_Quit();
  return status;
}
