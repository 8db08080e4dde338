// marvolen-curve: draws the difficulty curve of map packs from their statistics tables
// (`marvolen-level stats DIR --csv`), for docs/LEVELS.md.
#include <iostream>
#include <string>
#include <vector>

#include "base/files.h"
#include "level/curve_plot.h"
#include "level/tool_commands.h"

int main(int argc, char** argv) {
  using namespace mdx::level;
  if (argc < 3) {
    std::cerr << "usage: marvolen-curve OUT.png PACK=STATS.csv [PACK=STATS.csv ...]\n";
    return 2;
  }
  std::vector<PackCurve> packs;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const size_t equals = arg.find('=');
    if (equals == std::string::npos) {
      std::cerr << "marvolen-curve: '" << arg << "' is not PACK=STATS.csv\n";
      return 2;
    }
    PackCurve curve;
    curve.pack = arg.substr(0, equals);
    const std::string path = arg.substr(equals + 1);
    std::string text, error;
    if (!mdx::base::readWholeFile(path, text, error) || !readStatsCsv(text, curve.levels, error)) {
      std::cerr << (error.rfind(path, 0) == 0 ? error : path + ": " + error) << '\n';
      return 1;
    }
    packs.push_back(std::move(curve));
  }
  std::string error;
  if (!drawCurve(packs, argv[1], error)) {
    std::cerr << error << '\n';
    return 1;
  }
  return 0;
}
