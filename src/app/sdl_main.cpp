// Marvolen DX: the program entry. Reads the command line, finds the game's data folder and
// runs the game.
#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli_options.h"
#include "app/data_dirs.h"
#include "app/sdl_shell.h"
#include "level/pack_share.h"

namespace {

// Finds the data folder (see app/data_dirs.h). Prints why and returns "" when there is none.
std::string findGameFolder(const mdx::app::CommandLine& commandLine) {
  mdx::app::DataSearchInputs inputs = mdx::app::dataSearchEnvironment();
  inputs.dataOption = commandLine.dataDir;
  if (char* base = SDL_GetBasePath()) {
    inputs.programDir = base;
    SDL_free(base);
  }
  const mdx::app::DataFolderChoice choice =
      mdx::app::findDataFolder(inputs, mdx::app::installedDataLayout());
  if (choice.folder.empty()) {
    std::fprintf(stderr, "marvolen: %s\n", mdx::app::noDataMessage(choice).c_str());
    return "";
  }
  for (const std::string& warning : choice.warnings) {
    std::fprintf(stderr, "marvolen: %s; using \"%s\"\n", warning.c_str(), choice.folder.c_str());
  }
  return choice.folder;
}

// --install-pack FILE: installs the shared pack among the player's packs and says how it went;
// 0 when installed, 1 when refused.
int installPackFile(const std::string& file, const std::string& dataFolder) {
  const mdx::level::PackInstall install =
      mdx::level::installPack(file, dataFolder, mdx::app::userPackFolder(), {});
  if (!install.installed) std::fputs(install.checkReport.c_str(), stderr);
  std::fprintf(install.installed ? stdout : stderr, "marvolen: %s\n", install.message.c_str());
  return install.installed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const mdx::app::ParsedCommandLine parsed = mdx::app::parseCommandLine(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "marvolen: %s\nTry \"marvolen --help\".\n", parsed.error.c_str());
    return 2;
  }
  const mdx::app::CommandLine& commandLine = parsed.options;
  if (commandLine.showHelp) {
    std::fputs(mdx::app::usageText("marvolen").c_str(), stdout);
    return 0;
  }
  if (commandLine.showVersion) {
    std::puts(mdx::app::versionText().c_str());
    return 0;
  }
  std::ofstream log;
  if (commandLine.logFile) {
    log.open(*commandLine.logFile, std::ios::out | std::ios::trunc);
    if (!log) {
      std::fprintf(stderr, "marvolen: cannot write the log file \"%s\": %s\n",
                   commandLine.logFile->c_str(), std::strerror(errno));
      return 2;
    }
  }
  const std::string dataFolder = findGameFolder(commandLine);
  if (dataFolder.empty()) return 2;
  if (commandLine.installPack) return installPackFile(*commandLine.installPack, dataFolder);
  auto writeLine = [&log](const std::string& line) { log << line << std::endl; };
  return mdx::app::runProgram(
      commandLine, dataFolder,
      commandLine.logFile ? writeLine : std::function<void(const std::string&)>());
}
