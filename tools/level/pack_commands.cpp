#include "level/pack_commands.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/data_dirs.h"
#include "base/files.h"
#include "base/text.h"
#include "level/pack_share.h"
#include "level/tool_commands.h"
#include "world/level_format.h"
#include "world/line_reader.h"
#include "world/pack_catalog.h"
#include "world/pack_list.h"

namespace mdx::level {

namespace fs = std::filesystem;

namespace {

using world::kDefaultPackName;
using world::kPackListFile;

// The pref.ini of the pack in dir.
std::string prefOf(const std::string& dir) {
  return world::PackLayout{"", dir}.prefPath();
}

bool isFile(const std::string& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

// The folder a pack's mappacks.ini lies in, and the name the list gives the pack.
void splitPackPath(const std::string& dir, std::string& parent, std::string& name) {
  fs::path path = fs::path(dir).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();  // "packs/mine/"
  name = path.filename().string();
  parent = path.has_parent_path() ? path.parent_path().string() : ".";
}

// Whether dir is one of the player's own packs: a folder of their pack folder, which the game
// lists by its pref.ini alone, with no mappacks.ini.
bool isPlayersPack(const std::string& dir) {
  const std::string players = app::userPackFolder();
  if (players.empty()) return false;
  std::string parent, name;
  splitPackPath(dir, parent, name);
  std::error_code parentError, playersError;
  const fs::path parentPath = fs::weakly_canonical(parent, parentError);
  const fs::path playersPath = fs::weakly_canonical(players, playersError);
  return !parentError && !playersError && parentPath == playersPath;
}

bool writePref(const std::string& dir, int count, std::string& error) {
  return base::writeFileSafely(prefOf(dir), packPrefText(count), error);
}

// Adds name to the pack list file, one name per line and no line break after the last (the
// game would read one more, empty, entry).
bool addToPackList(const std::string& listPath, const std::string& name, std::string& error) {
  const world::PackList list = world::readPackList(listPath);
  if (std::find(list.entries.begin(), list.entries.end(), name) != list.entries.end()) return true;
  std::string text;
  if (isFile(listPath) && !base::readWholeFile(listPath, text, error)) return false;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (!text.empty()) text += '\n';
  return base::writeFileSafely(listPath, text + name, error);
}

// The text of pref.ini's count line, as the game reads the line.
std::string prefCountText(const std::string& dir) {
  std::string bytes;
  world::readFileStart(dir + "/pref.ini", world::kPrefLines, bytes);
  world::LineReader reader(bytes);
  reader.skipLine();
  return std::string(reader.readLine());
}

// Whether text is a whole decimal number (spaces around it allowed), not merely one that
// starts with digits or none at all, which the game would read as 0.
bool isDecimal(const std::string& text) {
  size_t at = text.find_first_not_of(" \t");
  if (at != std::string::npos && (text[at] == '-' || text[at] == '+')) ++at;
  const size_t digitsEnd = text.find_first_not_of("0123456789", at);
  if (at == std::string::npos || digitsEnd == at) return false;
  return digitsEnd == std::string::npos ||
         text.find_first_not_of(" \t", digitsEnd) == std::string::npos;
}

// Whether the level file at dat holds level as it is built.
bool builtFrom(const std::string& dat, const LevelSource& level) {
  std::string text, ignored;
  return base::readWholeFile(dat, text, ignored) && text == writeDat(level);
}

// The map cell a warning points at, or -1 when it is about a layer or a value.
int warningCell(const LevelWarning& warning) {
  for (const int first : {kBlockFirstLine, kDeviceFirstLine}) {
    const int cell = warning.datLine - first;
    if (cell >= 0 && cell < world::kCells) return cell;
  }
  return -1;
}

// Writes level number's level file and its name, idea and hint in the pack's words file, but
// only for a level packRefusal lets in and while the words file has no broken line (it is
// rewritten whole, so broken lines would be lost); else nothing is written.
bool writePackLevel(const std::string& dir, int number, const LevelSource& level,
                    const std::vector<LevelWarning>& warnings, const LevelVerdict& verdict,
                    std::string& error) {
  error = packRefusal(warnings, verdict);
  if (!error.empty()) return false;
  world::PackMeta words = world::readPackMeta(packMetaPath(dir));
  if (!words.problems.empty()) {
    error = "refused: mend the pack's words file first: " + words.problems.front();
    return false;
  }
  words.levels[number] = level.meta;
  const bool writeWords = isFile(packMetaPath(dir)) || !level.meta.empty();
  return base::writeFileSafely(packLevelPath(dir, number), writeDat(level), error) &&
         (!writeWords ||
          base::writeFileSafely(packMetaPath(dir),
                                world::writePackMeta(words.levels, words.packName), error));
}

}  // namespace

std::string findGameDir(const std::string& dirOption, std::ostream& err) {
  if (!dirOption.empty()) return dirOption;
  app::DataSearchInputs inputs = app::dataSearchEnvironment();
  inputs.programDir =
      app::gameFolderBesideTool(app::runningProgramDir(), app::installedToolLayout());
  const app::DataFolderChoice choice = app::findDataFolder(inputs, app::installedDataLayout());
  if (choice.folder.empty()) {
    err << app::noDataMessage(choice) << '\n';
    return "";
  }
  for (const std::string& warning : choice.warnings) {
    err << warning << "; using \"" << choice.folder << "\"\n";
  }
  return choice.folder;
}

std::vector<std::string> packMediaFiles(const std::string& gameDir) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(fs::path(gameDir) / kDefaultPackName, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name == world::kPrefFile || name == world::kLevelMetaFileName ||
        world::levelNumberOfFile(name)) {
      continue;
    }
    files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string packLevelPath(const std::string& dir, int number) {
  return world::PackLayout{"", dir}.levelPath(number);
}

std::string packSourcePath(const std::string& dir, int number) {
  const std::string dat = packLevelPath(dir, number);
  return dat.substr(0, dat.size() - std::string_view(".dat").size()) + ".src";
}

int packLevelsFound(const std::string& dir) {
  int found = 0;
  while (isFile(packLevelPath(dir, found + 1))) ++found;
  return found;
}

std::string packPrefText(int count) {
  return "levelCount\n" + std::to_string(count) + "\n";
}

int packLevelCount(const std::string& dir) {
  std::string bytes;
  world::readFileStart(prefOf(dir), world::kPrefLines, bytes);
  return world::readLevelCount(bytes);
}

std::string packMetaPath(const std::string& dir) {
  return world::PackLayout{"", dir}.wordsPath();
}

world::LevelMeta levelMetaOf(const std::string& path) {
  const fs::path file(path);
  if (file.extension() == ".src") {
    LevelSource level;
    std::string ignored;
    return loadLevel(path, level, ignored) ? level.meta : world::LevelMeta{};
  }
  const std::optional<int32_t> number = world::levelNumberOfFile(file.filename().string());
  if (!number) return {};
  const std::string dir = file.has_parent_path() ? file.parent_path().string() : ".";
  return world::readPackMeta(packMetaPath(dir)).levelMeta(*number);
}

bool copyDefaultMedia(const std::string& dir, const std::string& gameDir, std::string& error) {
  const std::vector<std::string> media = packMediaFiles(gameDir);
  if (media.empty()) {
    error = gameDir + "/" + kDefaultPackName + ": no default pack media to copy; build the game " +
            "first or name its folder with --data";
    return false;
  }
  for (const std::string& file : media) {
    std::string bytes;
    if (isFile(dir + "/" + file)) continue;
    if (!base::readWholeFile(gameDir + "/" + kDefaultPackName + "/" + file, bytes, error) ||
        !base::writeFileSafely(dir + "/" + file, bytes, error)) {
      return false;
    }
  }
  return true;
}

bool createPack(const std::string& dir, const std::string& gameDir, std::string& error) {
  if (isFile(prefOf(dir))) {
    error = dir + ": already a pack (it has a pref.ini)";
    return false;
  }
  if (!copyDefaultMedia(dir, gameDir, error) || !writePref(dir, 0, error)) return false;
  if (isPlayersPack(dir)) return true;
  std::string parent, name;
  splitPackPath(dir, parent, name);
  return addToPackList((fs::path(parent) / kPackListFile).string(), name, error);
}

bool addToPack(const std::string& dir, const LevelSource& level,
               const std::vector<LevelWarning>& warnings, const LevelVerdict& verdict,
               const std::string& sourceText, int& number, std::string& error) {
  if (!isFile(prefOf(dir))) {
    error = dir + ": not a pack (no pref.ini); make one with: marvolen-level pack new " + dir;
    return false;
  }
  const int next = std::max(packLevelCount(dir), 0) + 1;
  if (!writePackLevel(dir, next, level, warnings, verdict, error)) return false;
  number = next;
  return (sourceText.empty() ||
          base::writeFileSafely(packSourcePath(dir, number), sourceText, error)) &&
         writePref(dir, number, error);
}

bool rebuildPackLevel(const std::string& dir, int number, const LevelSource& level,
                      const std::vector<LevelWarning>& warnings, const LevelVerdict& verdict,
                      std::string& error) {
  const int count = packLevelCount(dir);
  if (!isFile(prefOf(dir)) || number < 1 || number > count) {
    error = "the pack has no level " + std::to_string(number);
    return false;
  }
  return writePackLevel(dir, number, level, warnings, verdict, error);
}

bool writePackMetaFrom(const std::string& dir, const std::vector<std::string>& sources,
                       const std::optional<std::string>& packName, std::string& error) {
  const std::string name = packName ? *packName : world::readPackMeta(packMetaPath(dir)).packName;
  const std::string unfit = world::packNameProblem(name);
  if (!unfit.empty()) {
    error = "the pack's name \"" + name + "\" " + unfit;
    return false;
  }
  std::map<int, world::LevelMeta> levels;
  for (const std::string& source : sources) {
    LevelSource level;
    if (!loadLevel(source, level, error)) return false;
    levels[static_cast<int>(levels.size()) + 1] = level.meta;
  }
  return base::writeFileSafely(packMetaPath(dir), world::writePackMeta(levels, name), error);
}

namespace {

// What checkPackFiles checks, as findings.
std::vector<PackFinding> packFileFindings(const std::string& dir, const std::string& gameDir,
                                          const CheckOptions& options) {
  std::vector<PackFinding> findings;
  // A line naming a file of its own is kept as it is; others are about the pack folder.
  auto problemLine = [&](const std::string& line, int level = 0) {
    findings.push_back({line, "", level, -1, true});
  };
  auto problem = [&](const std::string& text) { problemLine(dir + ": " + text); };
  const int found = packLevelsFound(dir);
  const std::string countText = prefCountText(dir);
  if (!isFile(prefOf(dir))) {
    problem("pref.ini is missing (a label line, then the number of the last level)");
  } else if (!isDecimal(countText)) {
    problem("pref.ini's count \"" + countText + "\" is not a number (the game reads it as " +
            std::to_string(packLevelCount(dir)) + "); write the number of the last level, " +
            std::to_string(found));
  } else if (packLevelCount(dir) != found) {
    problem("pref.ini says the last level is " + std::to_string(packLevelCount(dir)) +
            ", but the levels in the folder run from 1 to " + std::to_string(found));
  }
  for (int number = 1; number <= found; ++number) {
    // The source beside a level file is what its designer edits: its lines are named.
    const std::string dat = packLevelPath(dir, number);
    const std::string source = packSourcePath(dir, number);
    const std::string path = isFile(source) ? source : dat;
    CheckedFile file;
    if (!readCheckedFile(path, file)) {
      problemLine(file.error, number);
      continue;
    }
    if (path == source && !builtFrom(dat, file.level)) {
      problemLine(dat + ": not built from " + source + "; rebuild it with: marvolen-level build " +
                      source + " " + dat,
                  number);
    }
    for (const LevelWarning& warning : file.warnings) {
      findings.push_back({formatWarning(path, warning), "", number, warningCell(warning), false});
    }
    const LevelVerdict verdict = decideLevel(file.level, options);
    const RobotRun& furthest = verdict.solution.furthest.robot;
    const int endCell = verdict.verdict != Verdict::NotWinnable ? -1
                        : furthest.path.empty()                 ? furthest.startCell
                                                                : furthest.path.back();
    findings.push_back({path + ": " + verdictLine(verdict), explainVerdict(verdict), number,
                        endCell, !packRefusal(file.warnings, verdict).empty()});
  }
  const world::PackMeta words = world::readPackMeta(packMetaPath(dir));
  for (const std::string& text : words.problems) problemLine(text);
  for (const auto& [number, meta] : words.levels) {
    if (number > found) {
      problemLine(packMetaPath(dir) + ": words for level " + std::to_string(number) +
                      ", but the pack ends at level " + std::to_string(found),
                  number);
    }
  }
  for (const std::string& file : packMediaFiles(gameDir)) {
    if (!isFile(dir + "/" + file)) problem(file + " is missing (the game reads it from the pack)");
  }
  return findings;
}

// Writes findings to out, a line each (and a lost level's explanation); returns the number
// of problems among them.
int printFindings(const std::vector<PackFinding>& findings, std::ostream& out) {
  int problems = 0;
  for (const PackFinding& finding : findings) {
    out << finding.text << '\n' << finding.detail;
    if (finding.problem) ++problems;
  }
  return problems;
}

}  // namespace

std::vector<PackFinding> packFindings(const std::string& dir, const std::string& gameDir,
                                      const CheckOptions& options) {
  std::vector<PackFinding> findings = packFileFindings(dir, gameDir, options);
  if (isPlayersPack(dir)) return findings;
  std::string parent, name;
  splitPackPath(dir, parent, name);
  const std::string listPath = (fs::path(parent) / kPackListFile).string();
  const world::PackList list = world::readPackList(listPath);
  if (std::find(list.entries.begin(), list.entries.end(), name) == list.entries.end()) {
    findings.push_back(
        {dir + ": not listed in " + listPath + " (add a line: " + name + ")", "", 0, -1, true});
  }
  return findings;
}

int checkPackFiles(const std::string& dir, const std::string& gameDir, const CheckOptions& options,
                   std::ostream& out) {
  return printFindings(packFileFindings(dir, gameDir, options), out);
}

int checkPack(const std::string& dir, const std::string& gameDir, const CheckOptions& options,
              std::ostream& out) {
  return printFindings(packFindings(dir, gameDir, options), out);
}

int packCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CheckOptions options;
  cli::ParsedArgs args = parseSubcommand("pack", argc, argv);
  options.budgetSeconds = args.positive("--budget", options.budgetSeconds);
  if (!args.error.empty()) {
    err << "marvolen-level pack: " << args.error << '\n';
    return 2;
  }
  const std::vector<std::string>& words = args.words;
  const std::string gameDirOption = args.value("--data");
  const std::string verb = words.empty() ? "" : words[0];
  const bool shapeOk =
      (verb == "new" && words.size() == 2) || (verb == "meta" && words.size() >= 2) ||
      (verb == "add" && words.size() == 3) || (verb == "check" && words.size() == 2) ||
      (verb == "export" && words.size() == 3) || (verb == "install" && words.size() == 2);
  if (!shapeOk || (verb != "export" && !args.value("--name").empty()) ||
      (verb != "meta" && args.has("--title"))) {
    err << "usage: marvolen-level pack new DIR [--data DIR]\n"
           "       marvolen-level pack add DIR SOURCE [--budget SECONDS]\n"
           "       marvolen-level pack check DIR [--data DIR] [--budget SECONDS]\n"
           "       marvolen-level pack meta DIR [SOURCE...] [--title TITLE]\n"
           "       marvolen-level pack export DIR FILE [--name NAME] [--data DIR] [--budget "
           "SECONDS]\n"
           "       marvolen-level pack install FILE [--data DIR] [--budget SECONDS]\n";
    return 2;
  }
  const std::string dir = words[1];
  std::string error;
  if (verb == "meta") {
    const std::optional<std::string> name =
        args.has("--title") ? std::optional<std::string>(args.value("--title")) : std::nullopt;
    if (!writePackMetaFrom(dir, {words.begin() + 2, words.end()}, name, error)) {
      err << error << '\n';
      return 1;
    }
    out << packMetaPath(dir) << ": the words of " << words.size() - 2 << " levels\n";
    return 0;
  }
  const std::string gameDir = verb == "add" ? "" : findGameDir(gameDirOption, err);
  if (verb != "add" && gameDir.empty()) return 1;
  if (verb == "export" || verb == "install") {
    return sharePackCommand(words, args.value("--name"), gameDir, options, out, err);
  }
  if (verb == "new") {
    if (!createPack(dir, gameDir, error)) {
      err << error << '\n';
      return 1;
    }
    out << dir << ": new pack with " << packMediaFiles(gameDir).size()
        << " media files to replace, "
        << (isPlayersPack(dir) ? "one of the player's packs" : "listed in mappacks.ini") << '\n';
    return 0;
  }
  if (verb == "add") {
    CheckedFile file;
    if (!readCheckedFile(words[2], file)) {
      err << file.error << '\n';
      return 1;
    }
    for (const LevelWarning& warning : file.warnings)
      err << formatWarning(words[2], warning) << '\n';
    const LevelVerdict verdict = decideLevel(file.level, options);
    std::string sourceText;
    if (base::endsWith(words[2], ".src") && !base::readWholeFile(words[2], sourceText, error)) {
      err << error << '\n';
      return 1;
    }
    int number = 0;
    if (!addToPack(dir, file.level, file.warnings, verdict, sourceText, number, error)) {
      err << words[2] << ": " << error << '\n' << explainVerdict(verdict);
      return 1;
    }
    out << packLevelPath(dir, number) << ": " << verdictLine(verdict)
        << "; pref.ini now ends at level " << number << '\n';
    return 0;
  }
  const int problems = checkPack(dir, gameDir, options, out);
  out << dir << ": " << (problems == 0 ? "ready" : std::to_string(problems) + " problem(s)")
      << '\n';
  return problems == 0 ? 0 : 1;
}

}  // namespace mdx::level
