#include "edit/pack_export.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/data_dirs.h"
#include "base/files.h"
#include "level/pack_commands.h"
#include "level/tool_commands.h"
#include "world/level_meta.h"
#include "world/pack_archive.h"
#include "world/pack_catalog.h"

namespace mdx::edit {

namespace {

namespace fs = std::filesystem;

// The number of the pack level whose source sourcePath is, or 0 when it is none: the source
// is named as pack add names a level's source, and pref.ini counts that level.
int packLevelOfSource(const std::string& sourcePath, const std::string& packDir) {
  if (packDir.empty() || fs::path(sourcePath).extension() != ".src") return 0;
  const std::string dat = fs::path(sourcePath).replace_extension(".dat").filename().string();
  const int number = world::levelNumberOfFile(dat).value_or(0);
  return number > 0 && number <= level::packLevelCount(packDir) ? number : 0;
}

}  // namespace

std::string exportRefusal(const ProofStatus& proof, uint64_t revision) {
  if (proof.revision != revision || proof.verdict == nullptr) {
    return "the proof of this edit has not finished yet";
  }
  return "";
}

bool exportToPack(const level::LevelSource& level, const ProofStatus& proof, uint64_t revision,
                  const std::string& packDir, const std::string& gameDir, int& number,
                  std::string& error) {
  // Everything that can refuse the level is asked before the first file is written.
  error = exportRefusal(proof, revision);
  const std::vector<level::LevelWarning> warnings = level::ruleWarnings(level);
  if (error.empty()) error = level::packRefusal(warnings, *proof.verdict);
  if (!error.empty()) return false;
  std::error_code ec;
  if (!fs::exists(world::PackLayout{"", packDir}.prefPath(), ec) &&
      !level::createPack(packDir, gameDir, error)) {
    return false;
  }
  return level::addToPack(packDir, level, warnings, *proof.verdict, level::writeSource(level),
                          number, error);
}

std::string rebuildSavedPackLevel(const std::string& sourcePath, const level::LevelSource& level,
                                  const ProofStatus& proof, uint64_t revision) {
  const std::string saved = "saved " + sourcePath;
  const std::string packDir = packFolderOf(sourcePath);
  const int number = packLevelOfSource(sourcePath, packDir);
  if (number == 0) return saved;
  const std::string dat = world::levelFileName(number);
  std::string error = exportRefusal(proof, revision);
  if (error.empty() && level::rebuildPackLevel(packDir, number, level, level::ruleWarnings(level),
                                               *proof.verdict, error)) {
    return saved + "; rebuilt " + dat;
  }
  const std::string refused = "refused: ";
  if (error.rfind(refused, 0) == 0) error.erase(0, refused.size());
  return saved + "; the pack still plays the old " + dat + ": " + error;
}

std::string defaultExportFolder() {
  const std::string players = app::userPackFolder();
  return players.empty() ? "" : (fs::path(players) / "mypack").string();
}

std::string makePlayTestPack(const level::LevelSource& level, const std::string& gameDir,
                             std::string& error) {
  char name[] = "/tmp/marvolen-playtest-XXXXXX";
  if (mkdtemp(name) == nullptr) {
    error = "cannot create a temporary pack folder";
    return "";
  }
  const std::string folder = name;
  // A one-level pack: the label line and the count, as the game reads pref.ini, and the
  // level's words, so the play-test shows its name and hint.
  if (!base::writeFileSafely(level::packLevelPath(folder, 1), level::writeDat(level), error) ||
      !base::writeFileSafely(world::PackLayout{"", folder}.prefPath(), level::packPrefText(1),
                             error) ||
      (!level.meta.empty() &&
       !base::writeFileSafely(world::PackLayout{"", folder}.wordsPath(),
                              world::writePackMeta({{1, level.meta}}), error))) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    return "";
  }
  const fs::path media = fs::absolute(fs::path(gameDir) / world::kDefaultPackName);
  std::error_code ec;
  for (const std::string& file : level::packMediaFiles(gameDir)) {
    fs::create_symlink(media / file, fs::path(folder) / file, ec);
  }
  return folder;
}

std::string packFolderOf(const std::string& levelPath) {
  if (levelPath.empty()) return "";
  const fs::path folder = fs::absolute(levelPath).parent_path();
  std::error_code ec;
  return fs::is_regular_file(world::PackLayout{"", folder.string()}.prefPath(), ec)
             ? folder.string()
             : "";
}

std::string packFileFor(const std::string& packDir, const std::string& folder) {
  fs::path pack = fs::path(packDir).lexically_normal();
  if (pack.filename().empty()) pack = pack.parent_path();  // "mypack/" names mypack too
  const std::string name = pack.filename().string();
  if (name.empty() || name == "." || name == "..") return "";
  return (fs::path(folder) / (name + world::kPackArchiveExtension)).string();
}

bool exportPackFile(const std::string& packDir, const std::string& archivePath,
                    const std::string& gameDir, std::string& message) {
  std::ostringstream report;
  std::string error;
  if (!level::exportPack(packDir, archivePath, "", gameDir, {}, report, error)) {
    message = "pack export refused: " + error;
    return false;
  }
  message = "pack written as " + archivePath;
  return true;
}

level::PackInstall importPackFile(const std::string& archivePath, const std::string& gameDir) {
  return level::installPack(archivePath, gameDir, app::userPackFolder(), {});
}

}  // namespace mdx::edit
