// A map pack shared as one file (world/pack_archive.h): written from a pack folder that passes
// the pack check, and installed among the player's own packs after the same check. The game
// (--install-pack, a file dropped on its window), marvolen-level (pack export, pack install)
// and the editor all go through these two functions.
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <future>
#include <ostream>
#include <string>
#include <vector>

#include "level/level_checks.h"

namespace mdx::level {

// Writes the pack in dir as the archive archivePath (through a temporary file renamed into
// place), under the name packName ("" for dir's folder name). It carries pref.ini, the level
// files with their sources when there are any, the level words and the media files that differ
// from gameDir's default pack (an installer fills in the others from its own). Refuses, with
// error saying why and nothing written, a pack with problems (the check's lines go to out), an
// unsafe name and a pack too big for an installer to take.
bool exportPack(const std::string& dir, const std::string& archivePath, const std::string& packName,
                const std::string& gameDir, const CheckOptions& options, std::ostream& out,
                std::string& error);

struct PackInstall {
  bool installed = false;
  std::string packName;  // as the catalogue lists it once installed
  std::string folder;    // where it lies once installed
  int levelCount = 0;
  std::string message;      // one line for the player: what was installed, or why not
  std::string reason;       // why not, without the file's name ("" when installed)
  std::string checkReport;  // the pack check's lines (empty when it did not get that far)
};

// Installs the archive archivePath into playersFolder (the player's packs folder, made when
// missing): the archive is read whole and refused whole when hostile (world/pack_archive.h),
// a name that a shipped pack of gameDir or anything in playersFolder already has is refused,
// then the files are written into a temporary folder inside playersFolder, the media the
// archive does not carry are copied from gameDir's default pack, and only a pack passing the
// pack check is renamed into place. Whatever is refused leaves playersFolder as it was.
PackInstall installPack(const std::string& archivePath, const std::string& gameDir,
                        const std::string& playersFolder, const CheckOptions& options);

// Installs pack files off the owner's thread, so a game window a file was dropped on goes on
// drawing while the pack's levels are proved. Its owner alone calls it.
class BackgroundPackInstaller {
 public:
  BackgroundPackInstaller(std::string gameDir, std::string playersFolder);
  // Stops the proofs of the installs still running (they end refused, nothing written) and
  // waits for them.
  ~BackgroundPackInstaller();
  BackgroundPackInstaller(const BackgroundPackInstaller&) = delete;
  BackgroundPackInstaller& operator=(const BackgroundPackInstaller&) = delete;

  // Starts installing archivePath as installPack does.
  void start(const std::string& archivePath);
  // The installs that ended since the last call, in the order they were started (one still
  // running holds back those started after it).
  std::vector<PackInstall> takeFinished();
  // Whether an install is still running.
  bool busy() const { return !running_.empty(); }

 private:
  std::string gameDir_, playersFolder_;
  std::atomic<bool> cancel_{false};
  std::deque<std::future<PackInstall>> running_;
};

// The most characters of a line installNotice makes: what a game window's short line holds.
constexpr std::size_t kInstallNoticeChars = 72;

// One short line for a window about install: the pack installed, or why not, without the
// advice and paths the full message gives (a longer reason is cut short with "...").
std::string installNotice(const PackInstall& install);

// marvolen-level pack export DIR FILE [--name NAME] and pack install FILE (words are the
// words after "pack"; the player's packs folder is the game's): prints what was written or
// installed, or why not; 0 on success, 1 when refused.
int sharePackCommand(const std::vector<std::string>& words, const std::string& packName,
                     const std::string& gameDir, const CheckOptions& options, std::ostream& out,
                     std::ostream& err);

}  // namespace mdx::level
