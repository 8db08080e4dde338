#include "edit/pack_export.h"

#include <cstdlib>
#include <filesystem>

#include "level/tool_commands.h"

namespace mdx::edit {

namespace {

namespace fs = std::filesystem;

std::string levelFileName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "level%02d.dat", number);
  return name;
}

// The level count pref.ini holds, read the way the game reads it; 0 when there is none.
int32_t packLevelCount(const std::string& packDir) {
  std::string text, error;
  if (!level::readTextFile(packDir + "/pref.ini", text, error)) return 0;
  const size_t first = text.find('\n');
  return first == std::string::npos ? 0 : level::lineValue(text.substr(first + 1));
}

bool writePref(const std::string& packDir, int32_t count, std::string& error) {
  return level::writeTextFile(packDir + "/pref.ini", "levelCount\n" + std::to_string(count) + "\n",
                              error);
}

}  // namespace

std::string exportRefusal(const ProofStatus& proof, uint64_t revision) {
  if (proof.revision != revision) return "the proof of this edit has not finished yet";
  switch (proof.state) {
    case ProofState::Winnable:
      return "";
    case ProofState::Searching:
      return "the proof of this edit has not finished yet";
    case ProofState::NotWinnable:
      return "the level is not winnable";
    case ProofState::StraightDrops:
      return "the level is won by dropping every piece straight down";
    case ProofState::Undecided:
      return "the solver could not decide the level within its budget";
  }
  return "unknown proof state";
}

bool exportToPack(const level::LevelSource& level, const ProofStatus& proof, uint64_t revision,
                  const std::string& packDir, int number, std::string& error) {
  error = exportRefusal(proof, revision);
  if (!error.empty()) return false;
  if (number < 1 || number > 98) {
    error = "level numbers run from 1 to 98";
    return false;
  }
  std::error_code ec;
  fs::create_directories(packDir, ec);
  if (!level::writeTextFile(packDir + "/" + levelFileName(number), level::writeDat(level), error)) {
    return false;
  }
  if (packLevelCount(packDir) < number) return writePref(packDir, number, error);
  return true;
}

int nextFreeLevel(const std::string& packDir) {
  int number = 1;
  std::error_code ec;
  while (number < 98 && fs::exists(packDir + "/" + levelFileName(number), ec)) ++number;
  return number;
}

std::string makePlayTestPack(const level::LevelSource& level, const std::string& mediaPack,
                             std::string& error) {
  char name[] = "/tmp/marvolen-playtest-XXXXXX";
  if (mkdtemp(name) == nullptr) {
    error = "cannot create a temporary pack folder";
    return "";
  }
  const std::string folder = name;
  if (!level::writeTextFile(folder + "/" + levelFileName(1), level::writeDat(level), error) ||
      !writePref(folder, 1, error)) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    return "";
  }
  // The pack's pictures and music: everything but its levels and settings.
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(mediaPack, ec)) {
    const std::string file = entry.path().filename().string();
    if (file == "pref.ini" || entry.path().extension() == ".dat") continue;
    fs::create_symlink(fs::absolute(entry.path()), folder + "/" + file, ec);
  }
  return folder;
}

}  // namespace mdx::edit
