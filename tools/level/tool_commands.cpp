#include "level/tool_commands.h"

#include "base/files.h"
#include "level/level_checks.h"
#include "level/level_source.h"

namespace mdx::level {

bool loadLevel(const std::string& path, LevelSource& level, std::string& error) {
  CheckedFile file;
  if (!readCheckedFile(path, file)) {
    error = file.error;
    return false;
  }
  level = file.level;
  return true;
}

int buildCommand(const std::string& source, const std::string& out, std::ostream& err,
                 bool strict) {
  CheckedFile file;
  if (!readCheckedFile(source, file)) {
    err << file.error << '\n';
    return 1;
  }
  for (const LevelWarning& warning : file.warnings) {
    std::string line = formatWarning(source, warning);
    if (strict) line.replace(line.find(": warning: "), 11, ": error: ");
    err << line << '\n';
  }
  if (strict && !file.warnings.empty()) {
    err << source << ": not built: --strict makes the warnings above errors\n";
    return 1;
  }
  std::string error;
  if (!base::writeFileSafely(out, writeDat(file.level), error)) {
    err << error << '\n';
    return 1;
  }
  return 0;
}

int buildCommand(int argc, char** argv, std::ostream& err) {
  const cli::ParsedArgs args = parseSubcommand("build", argc, argv);
  if (!args.error.empty() || args.words.size() != 2) {
    err << "marvolen-level build: " << (args.error.empty() ? "give SRC and OUT.dat" : args.error)
        << "\n";
    return 2;
  }
  return buildCommand(args.words[0], args.words[1], err, args.has("--strict"));
}

int decompileCommand(const std::string& dat, const std::string& out, std::ostream& err) {
  std::string error;
  LevelSource level;
  if (!loadLevel(dat, level, error)) {
    err << error << '\n';
    return 1;
  }
  if (!base::writeFileSafely(out, writeSource(level), error)) {
    err << error << '\n';
    return 1;
  }
  return 0;
}

}  // namespace mdx::level
