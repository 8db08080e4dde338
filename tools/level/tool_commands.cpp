#include "level/tool_commands.h"

#include <fstream>
#include <sstream>

#include "level/level_checks.h"
#include "level/level_source.h"

namespace mdx::level {

bool readTextFile(const std::string& path, std::string& text, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  if (in) buffer << in.rdbuf();
  if (!in || in.bad()) {
    error = path + ": cannot read the file";
    return false;
  }
  text = buffer.str();
  return true;
}

bool writeTextFile(const std::string& path, const std::string& text, std::string& error) {
  // Write next to the target and rename, so a failed write never leaves half a file behind.
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      error = path + ": cannot write the file";
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    error = path + ": cannot write the file";
    return false;
  }
  return true;
}

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
  if (!writeTextFile(out, writeDat(file.level), error)) {
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
  if (!writeTextFile(out, writeSource(level), error)) {
    err << error << '\n';
    return 1;
  }
  return 0;
}

}  // namespace mdx::level
