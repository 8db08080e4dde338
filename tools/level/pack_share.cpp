#include "level/pack_share.h"

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

#include "app/data_dirs.h"
#include "base/files.h"
#include "base/text.h"
#include "level/pack_commands.h"
#include "world/level_meta.h"
#include "world/pack_archive.h"
#include "world/pack_catalog.h"

namespace mdx::level {

namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

// Adds dir/name to the archive's files when the file is there.
bool addIfPresent(const std::string& dir, const std::string& name, world::PackArchive& archive,
                  std::string& error) {
  if (!isFile(fs::path(dir) / name)) return true;
  archive.files.push_back({name, ""});
  return base::readWholeFile(dir + "/" + name, archive.files.back().bytes, error);
}

// The pack's files in the order an archive lists them: pref.ini, the levels (each with its
// source), the other text files a pack may hold, then its own media.
bool collectPackFiles(const std::string& dir, const std::string& gameDir,
                      world::PackArchive& archive, std::string& error) {
  const std::vector<std::string> media = packMediaFiles(gameDir);
  if (!addIfPresent(dir, world::kPrefFile, archive, error) ||
      !addIfPresent(dir, world::kLevelMetaFileName, archive, error)) {
    return false;
  }
  for (int number = 1; number <= archive.levelCount; ++number) {
    const std::string dat = world::levelFileName(number);
    const std::string source = fs::path(packSourcePath(dir, number)).filename().string();
    if (!addIfPresent(dir, dat, archive, error) || !addIfPresent(dir, source, archive, error)) {
      return false;
    }
  }
  for (const std::string& name : media) {
    std::string own, shipped;
    const std::string shippedPath = gameDir + "/" + world::kDefaultPackName + "/" + name;
    if (!isFile(fs::path(dir) / name)) continue;
    if (!base::readWholeFile(dir + "/" + name, own, error)) return false;
    if (base::readWholeFile(shippedPath, shipped, error) && own == shipped) continue;
    archive.files.push_back({name, own});
  }
  error.clear();
  return true;
}

// The check's lines about the levels, with the pack folder left out of the paths: what the
// manifest tells about each level.
std::vector<std::string> levelLines(const std::string& report, const std::string& dir) {
  std::vector<std::string> lines;
  const std::string folder = dir + "/";
  for (const base::Line& line : base::splitLines(report)) {
    if (!base::startsWith(line.text, folder)) continue;
    const std::string text = line.text.substr(folder.size());
    if (base::startsWith(text, "level")) lines.push_back(text);
  }
  return lines;
}

// The folder name the pack in dir has: "packs/mine/" is "mine".
std::string folderName(const std::string& dir) {
  fs::path path = fs::path(dir).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();
  return path.filename().string();
}

// Why packName cannot be installed into playersFolder beside gameDir's packs, or "".
std::string nameClash(const std::string& packName, const std::string& gameDir,
                      const std::string& playersFolder) {
  const world::PackCatalog catalog = world::readPackCatalog(gameDir, playersFolder);
  const world::CatalogPack* pack = catalog.find(packName);
  if (pack != nullptr && !pack->playersOwn) {
    return "the game ships a pack named \"" + packName + "\"; ask for the pack under " +
           "another name";
  }
  std::error_code ignored;
  // Anything of that name counts, a link to nowhere too.
  const fs::file_status there = fs::symlink_status(fs::path(playersFolder) / packName, ignored);
  if (pack != nullptr || fs::exists(there)) {
    return "you already have a pack named \"" + packName + "\"; remove or rename " +
           (fs::path(playersFolder) / packName).string() + " to install this one";
  }
  return "";
}

// Reads the archive at path whole, refusing a file bigger than any pack.
bool readArchive(const std::string& path, const std::string& gameDir, world::PackArchive& archive,
                 std::string& error) {
  const world::PackArchiveLimits limits;
  const base::FileText file = base::readTextFile(path, limits.maxArchiveBytes + 1);
  if (file.status != base::FileText::Status::Read) {
    error = file.note;
  } else if (file.cutShort) {
    error = "the file is bigger than a pack can be";
  } else {
    world::readPackArchive(file.text, packMediaFiles(gameDir), archive, error, limits);
  }
  return error.empty();
}

// Writes the archive's files into the new folder dir, then the media it lacks.
bool unpack(const world::PackArchive& archive, const std::string& dir, const std::string& gameDir,
            std::string& error) {
  for (const world::PackArchiveFile& file : archive.files) {
    if (!base::writeFileSafely(dir + "/" + file.name, file.bytes, error)) return false;
  }
  return copyDefaultMedia(dir, gameDir, error);
}

// The check's report with the temporary folder named as the folder the pack goes to.
std::string withFolderNamed(std::string report, const std::string& from, const std::string& to) {
  for (std::size_t at = report.find(from); at != std::string::npos;
       at = report.find(from, at + to.size())) {
    report.replace(at, from.size(), to);
  }
  return report;
}

// Makes a fresh folder inside parent for an install to fill; "" with error when it cannot.
std::string makeStagingFolder(const std::string& parent, std::string& error) {
  std::string pattern = parent + "/.installing-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    error = parent + ": cannot make a folder to install into";
    return "";
  }
  return pattern;
}

}  // namespace

bool exportPack(const std::string& dir, const std::string& archivePath, const std::string& packName,
                const std::string& gameDir, const CheckOptions& options, std::ostream& out,
                std::string& error) {
  world::PackArchive archive;
  archive.packName = packName.empty() ? folderName(dir) : packName;
  archive.levelCount = packLevelCount(dir);
  if (!world::isSafePackName(archive.packName)) {
    error = "\"" + base::escaped(archive.packName) + "\" cannot name a shared pack (use letters, " +
            "digits, '_', '-' and '.'; name it with --name)";
    return false;
  }
  std::ostringstream report;
  const int problems = checkPackFiles(dir, gameDir, options, report);
  out << report.str();
  if (problems > 0) {
    error = dir + ": " + std::to_string(problems) + " problem(s); a pack is shared once it " +
            "passes its check";
    return false;
  }
  archive.checkLines = levelLines(report.str(), dir);
  if (!collectPackFiles(dir, gameDir, archive, error)) return false;
  const std::string bytes = world::writePackArchive(archive);
  world::PackArchive readBack;
  if (!world::readPackArchive(bytes, packMediaFiles(gameDir), readBack, error)) {
    error = dir + ": cannot be shared: " + error;
    return false;
  }
  return base::writeFileSafely(archivePath, bytes, error);
}

PackInstall installPack(const std::string& archivePath, const std::string& gameDir,
                        const std::string& playersFolder, const CheckOptions& options) {
  PackInstall result;
  world::PackArchive archive;
  std::string error;
  if (playersFolder.empty()) {
    error = "there is no folder for your packs (set $XDG_DATA_HOME or $HOME)";
  } else if (readArchive(archivePath, gameDir, archive, error)) {
    error = nameClash(archive.packName, gameDir, playersFolder);
  }
  if (!error.empty()) {
    result.message = archivePath + ": not installed: " + error;
    result.reason = error;
    return result;
  }
  std::error_code ignored;
  const bool madeFolder = !fs::exists(playersFolder, ignored);
  fs::create_directories(playersFolder, ignored);
  const std::string staging = makeStagingFolder(playersFolder, error);
  const std::string unpacked = staging + "/" + archive.packName;
  const std::string target = playersFolder + "/" + archive.packName;
  if (!staging.empty() && unpack(archive, unpacked, gameDir, error)) {
    std::ostringstream report;
    const int problems = checkPackFiles(unpacked, gameDir, options, report);
    result.checkReport = withFolderNamed(report.str(), unpacked, target);
    if (problems > 0) {
      error = "it has " + std::to_string(problems) + " problem(s) in the pack check";
    } else {
      // A pack of that name may have come while the check ran.
      error = nameClash(archive.packName, gameDir, playersFolder);
      if (error.empty()) fs::rename(unpacked, target, ignored);
      if (error.empty() && ignored) error = "cannot move it into " + target;
    }
  }
  if (!staging.empty()) fs::remove_all(staging, ignored);
  if (!error.empty()) {
    if (madeFolder) fs::remove(playersFolder, ignored);  // only when left empty
    result.message = archivePath + ": not installed: " + error;
    result.reason = error;
    return result;
  }
  result = {true,
            archive.packName,
            target,
            archive.levelCount,
            "installed the pack \"" + archive.packName + "\" (" +
                std::to_string(archive.levelCount) + " levels) in " + target,
            "",
            result.checkReport};
  return result;
}

BackgroundPackInstaller::BackgroundPackInstaller(std::string gameDir, std::string playersFolder)
    : gameDir_(std::move(gameDir)), playersFolder_(std::move(playersFolder)) {}

BackgroundPackInstaller::~BackgroundPackInstaller() {
  cancel_ = true;
  for (std::future<PackInstall>& install : running_) install.wait();
}

void BackgroundPackInstaller::start(const std::string& archivePath) {
  CheckOptions options;
  options.cancel = &cancel_;
  running_.push_back(
      std::async(std::launch::async, installPack, archivePath, gameDir_, playersFolder_, options));
}

std::vector<PackInstall> BackgroundPackInstaller::takeFinished() {
  std::vector<PackInstall> finished;
  while (!running_.empty() &&
         running_.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    finished.push_back(running_.front().get());
    running_.pop_front();
  }
  return finished;
}

std::string installNotice(const PackInstall& install) {
  std::string line =
      install.installed
          ? "Pack \"" + install.packName + "\" installed: choose it at the next start"
          : "Pack not installed: " + install.reason.substr(0, install.reason.find(';'));
  if (line.size() > kInstallNoticeChars) line = line.substr(0, kInstallNoticeChars - 3) + "...";
  return line;
}

int sharePackCommand(const std::vector<std::string>& words, const std::string& packName,
                     const std::string& gameDir, const CheckOptions& options, std::ostream& out,
                     std::ostream& err) {
  if (words[0] == "install") {
    const PackInstall install = installPack(words[1], gameDir, app::userPackFolder(), options);
    out << install.checkReport;
    (install.installed ? out : err) << install.message << '\n';
    return install.installed ? 0 : 1;
  }
  std::string error;
  if (!exportPack(words[1], words[2], packName, gameDir, options, out, error)) {
    err << error << '\n';
    return 1;
  }
  out << words[2] << ": the pack " << words[1] << " as one file, to install with: marvolen "
      << "--install-pack " << words[2] << '\n';
  return 0;
}

}  // namespace mdx::level
