// Marvolen DX: the program entry. Reads the command line, moves into the game folder and
// runs the game.
#include <SDL.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli_options.h"
#include "app/sdl_shell.h"

namespace {

// Makes the game folder the working directory: --data when given; otherwise, when the current
// folder holds no mappacks.ini but the program's own folder does, the program's folder.
bool enterGameFolder(const mdx::app::CommandLine& commandLine) {
  if (commandLine.dataDir) {
    if (chdir(commandLine.dataDir->c_str()) == 0) return true;
    std::fprintf(stderr, "marvolen: cannot use the game folder \"%s\": %s\n",
                 commandLine.dataDir->c_str(), std::strerror(errno));
    return false;
  }
  if (access("mappacks.ini", F_OK) == 0) return true;
  if (char* base = SDL_GetBasePath()) {
    const std::string folder = base;
    SDL_free(base);
    if (access((folder + "mappacks.ini").c_str(), F_OK) == 0 && chdir(folder.c_str()) != 0) {
      std::fprintf(stderr, "marvolen: cannot enter \"%s\": %s\n", folder.c_str(),
                   std::strerror(errno));
    }
  }
  return true;
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
  // The log file is opened before moving into the game folder, so a relative name means
  // the folder the player started from.
  std::ofstream log;
  if (commandLine.logFile) {
    log.open(*commandLine.logFile, std::ios::out | std::ios::trunc);
    if (!log) {
      std::fprintf(stderr, "marvolen: cannot write the log file \"%s\": %s\n",
                   commandLine.logFile->c_str(), std::strerror(errno));
      return 2;
    }
  }
  if (!enterGameFolder(commandLine)) return 2;
  auto writeLine = [&log](const std::string& line) { log << line << std::endl; };
  return mdx::app::runProgram(
      commandLine, commandLine.logFile ? writeLine : std::function<void(const std::string&)>());
}
