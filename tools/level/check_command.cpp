// marvolen-level check and legend: the level checks for scripts and the map characters every
// source may use.
#include <cstdlib>
#include <ostream>
#include <string>

#include "level/legend.h"
#include "level/level_checks.h"
#include "level/tool_commands.h"

namespace mdx::level {

namespace {

void printLegend(std::ostream& out, const char* layer, const std::vector<LegendDefault>& entries,
                 int firstPicture) {
  out << layer << " map:\n";
  for (const LegendDefault& entry : entries) {
    out << "  " << entry.symbol << "  " << entry.code << "  " << entry.name;
    const int32_t code = entry.code;
    const bool pictured = code >= 1 && (firstPicture == 0 ? code <= world::kLastPicturedBlock
                                                          : code <= world::kLastDevice);
    if (pictured)
      out << "  (media/block" << (code + firstPicture < 100 ? "0" : "")
          << (code + firstPicture < 10 ? "0" : "") << code + firstPicture << ".tga)";
    if (!entry.plain)
      out << "  [define it: char " << layer << ' ' << entry.symbol << ' ' << code << "]";
    out << '\n';
  }
}

}  // namespace

int checkCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CheckOptions options;
  std::string path;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--budget" && i + 1 < argc) {
      char* end = nullptr;
      options.budgetSeconds = std::strtod(argv[++i], &end);
      if (*end != '\0' || !(options.budgetSeconds > 0)) {
        err << "marvolen-level check: --budget needs a positive number of seconds\n";
        return 2;
      }
    } else if (path.empty() && arg.rfind("--", 0) != 0) {
      path = arg;
    } else {
      err << "marvolen-level check: unexpected argument '" << arg << "'\n";
      return 2;
    }
  }
  if (path.empty()) {
    err << "marvolen-level check: no level file given\n";
    return 2;
  }
  CheckedFile file;
  if (!readCheckedFile(path, file)) {
    err << file.error << '\n';
    return 2;
  }
  for (const LevelWarning& warning : file.warnings) err << formatWarning(path, warning) << '\n';
  const LevelVerdict verdict = decideLevel(file.level, options);
  out << verdictLine(verdict) << '\n';
  return verdictExitCode(verdict.verdict);
}

int legendCommand(std::ostream& out) {
  out << "Map characters every level source may use without a char line. Block codes 1 to "
      << world::kLastPicturedBlock
      << " have the characters 1-9 A-Z a-z only\nby an old default: define the ones a source "
         "uses with its own char line (char block g 1).\n";
  printLegend(out, "block", defaultBlockEntries(), 0);
  printLegend(out, "device", defaultDeviceEntries(), 100);
  return 0;
}

}  // namespace mdx::level
