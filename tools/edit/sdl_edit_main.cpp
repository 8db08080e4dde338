// marvolen-edit [FILE] [--data DIR] [--budget SECONDS] [--log FILE]: the level editor's window.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/data_dirs.h"
#include "cli/tool_args.h"
#include "edit/editor_keys.h"
#include "edit/sdl_editor.h"
#include "level/pack_commands.h"

namespace {

const std::vector<mdx::cli::Option>& editorOptions() {
  static const std::vector<mdx::cli::Option> options = {
      mdx::cli::dataOption(),
      mdx::cli::budgetOption("how long the live proof searches before it gives up (default 10)"),
      mdx::cli::logOption("write a line per edit, proof answer and saved file (for scripts)"),
  };
  return options;
}

std::string usage() {
  return "usage: marvolen-edit [FILE] " + mdx::cli::optionSynopsis(editorOptions()) +
         "\nEdits a level source (.src) or level file (.dat), or a new level without FILE.\n" +
         mdx::cli::optionHelp(editorOptions()) + "keys:\n" + mdx::edit::editorKeyHelp();
}

bool parseArgs(int argc, char** argv, mdx::edit::EditorOptions& options, bool& help) {
  mdx::cli::ParsedArgs args = mdx::cli::parseArgs(editorOptions(), argc - 1, argv + 1);
  help = args.help;
  options.gameDir = args.value("--data");
  options.logFile = args.value("--log");
  options.budgetSeconds = args.positive("--budget", options.budgetSeconds);
  if (args.words.size() == 1) options.file = args.words[0];
  if (!args.error.empty()) std::fprintf(stderr, "marvolen-edit: %s\n", args.error.c_str());
  return args.error.empty() && args.words.size() <= 1;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  mdx::edit::EditorOptions options;
  bool help = false;
  const bool understood = parseArgs(argc, argv, options, help);
  if (help) {
    std::fputs(usage().c_str(), stdout);
    return 0;
  }
  if (!understood) {
    std::fputs(usage().c_str(), stderr);
    return 2;
  }
  // File names typed in the window are taken from the folder the editor starts in.
  options.workDir = fs::absolute(".").lexically_normal().string();
  if (options.workDir.size() > 1 && options.workDir.back() == '/') options.workDir.pop_back();
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
