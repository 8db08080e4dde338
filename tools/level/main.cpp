// marvolen-level: builds level files from sources, turns level files back into sources,
// solves levels and draws previews.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "level/level_source.h"
#include "level/pack_commands.h"
#include "level/stats.h"
#include "level/tool_commands.h"
#ifdef MDX_LEVEL_PREVIEW
#include "level/preview.h"
#endif

namespace {

const char kUsage[] =
    "usage: marvolen-level build SRC OUT.dat [--strict]\n"
    "       marvolen-level check FILE [--budget SECONDS]\n"
    "       marvolen-level legend | shapes\n"
    "       marvolen-level pack new DIR | add DIR SOURCE | check DIR [--game-dir DIR] "
    "[--budget S]\n"
    "       marvolen-level decompile IN.dat OUT.src\n"
    "       marvolen-level solve FILE [--max-seconds S] [--max-steps N]\n"
    "       marvolen-level stats DIR|FILE [--csv] [--out FILE] [--max-seconds S]\n"
    "                            [--max-sequences N] [--markdown-out FILE]\n"
    "       marvolen-level preview FILE OUT.png [--game-dir DIR] [--running]\n";

const char kExitCodes[] =
    "exit status: 0 done (check: proven); 1 the file could not be built, written or found, or\n"
    "(pack) refused or problems found, (solve) no solution; 2 bad arguments, or (check) an\n"
    "unreadable or broken level; check also: 3 not winnable, 4 won by straight drops,\n"
    "5 undecided within the budget.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace mdx::level;
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" || command == "-h") {
    std::cout << kUsage << kExitCodes;
    return 0;
  }
  if (command == "build" && (argc == 4 || (argc == 5 && std::string(argv[4]) == "--strict")))
    return buildCommand(argv[2], argv[3], std::cerr, argc == 5);
  if (command == "check" && argc >= 3)
    return checkCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "legend" && argc == 2) return legendCommand(std::cout);
  if (command == "shapes" && argc == 2) return shapesCommand(std::cout);
  if (command == "pack") return packCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "decompile" && argc == 4) return decompileCommand(argv[2], argv[3], std::cerr);
  if (command == "solve" && argc >= 3)
    return solveCommand(argc - 2, argv + 2, std::cout, std::cerr);

  if (command == "stats" && argc >= 3)
    return statsCommand(argc - 2, argv + 2, std::cout, std::cerr);
  if (command == "preview") {
#ifdef MDX_LEVEL_PREVIEW
    return previewCommand(argc - 2, argv + 2, std::cerr);
#else
    std::cerr << "marvolen-level: this build has no preview (the game's drawing libraries were "
                 "not built)\n";
    return 2;
#endif
  }
  std::cerr << kUsage;
  return 2;
}
