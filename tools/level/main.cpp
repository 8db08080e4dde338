// marvolen-level: builds level files from sources, turns level files back into sources,
// solves levels and draws previews.
#include <iostream>
#include <string>

#include "level/level_source.h"
#include "level/pack_commands.h"
#include "level/stats.h"
#include "level/tool_commands.h"
#ifdef MDX_LEVEL_PREVIEW
#include "level/preview.h"
#endif

int main(int argc, char** argv) {
  using namespace mdx::level;
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" || command == "-h") {
    std::cout << levelToolHelp();
    return 0;
  }
  if (command == "build") return buildCommand(argc - 2, argv + 2, std::cerr);
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
  std::cerr << levelToolHelp();
  return 2;
}
