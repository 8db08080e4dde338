#include "app/data_dirs.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "app/player_files.h"

#if !defined(MDX_DATA_BESIDE_PROGRAM) || !defined(MDX_DATA_UNDER_DATA_DIRS) || \
    !defined(MDX_GAME_BESIDE_BUILD_TOOLS) || !defined(MDX_GAME_BESIDE_INSTALLED_TOOLS)
#error \
    "The install layout (MDX_DATA_BESIDE_PROGRAM, MDX_GAME_BESIDE_BUILD_TOOLS, ...) is set by the build"
#endif

namespace mdx::app {
namespace {

namespace fs = std::filesystem;

using world::kPackListFile;
// Used when $XDG_DATA_DIRS is unset or empty, as the XDG base directory rules say.
constexpr const char* kDefaultXdgDataDirs = "/usr/local/share:/usr/share";

// A folder name in one spelling: "a/b/../c/" and "a/c" compare equal.
std::string normalFolder(const std::string& folder) {
  std::string text = fs::path(folder).lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string joined(const std::string& folder, const std::string& below) {
  return normalFolder((fs::path(folder) / below).string());
}

bool given(const std::optional<std::string>& value) {
  return value && !value->empty();
}

// Why a folder cannot be the data folder, or "" when it can.
std::string unusableBecause(const std::string& folder) {
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (status.type() == fs::file_type::none) return error.message();  // e.g. no permission
  if (!fs::exists(status)) return "does not exist";
  if (!fs::is_directory(status)) return "is not a folder";
  if (!fs::is_regular_file(fs::status(fs::path(folder) / kPackListFile, error))) {
    return std::string("holds no ") + kPackListFile;
  }
  return "";
}

}  // namespace

DataLayout installedDataLayout() {
  return {MDX_DATA_BESIDE_PROGRAM, MDX_DATA_UNDER_DATA_DIRS};
}

DataSearchInputs dataSearchEnvironment() {
  DataSearchInputs inputs;
  if (const char* env = std::getenv("MARVOLEN_DATA")) inputs.dataEnv = env;
  if (const char* env = std::getenv("XDG_DATA_DIRS")) inputs.xdgDataDirs = env;
  return inputs;
}

ToolLayout installedToolLayout() {
  return {MDX_GAME_BESIDE_BUILD_TOOLS, MDX_GAME_BESIDE_INSTALLED_TOOLS};
}

std::string gameFolderBesideTool(const std::string& toolDir, const ToolLayout& layout) {
  if (toolDir.empty()) return "";
  const std::string built = joined(toolDir, layout.buildGameDir);
  std::error_code error;
  if (fs::is_directory(built, error)) return built;
  return joined(toolDir, layout.installedGameDir);
}

std::string runningProgramDir() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? "" : self.parent_path().string();
}

std::vector<std::string> dataFolderCandidates(const DataSearchInputs& inputs,
                                              const DataLayout& layout) {
  std::vector<std::string> folders;
  auto add = [&folders](const std::string& folder) {
    const std::string normal = normalFolder(folder);
    if (std::find(folders.begin(), folders.end(), normal) == folders.end()) {
      folders.push_back(normal);
    }
  };
  if (given(inputs.dataOption)) add(*inputs.dataOption);
  if (given(inputs.dataEnv)) add(*inputs.dataEnv);
  if (!inputs.programDir.empty()) {
    add(inputs.programDir);
    add(joined(inputs.programDir, layout.besideProgram));
  }
  std::stringstream dataDirs(given(inputs.xdgDataDirs) ? *inputs.xdgDataDirs : kDefaultXdgDataDirs);
  std::string dataDir;
  while (std::getline(dataDirs, dataDir, ':')) {
    // Relative entries are invalid in $XDG_DATA_DIRS and are ignored.
    if (!dataDir.empty() && dataDir.front() == '/') add(joined(dataDir, layout.underDataDirs));
  }
  return folders;
}

DataFolderChoice findDataFolder(const DataSearchInputs& inputs, const DataLayout& layout) {
  DataFolderChoice choice;
  for (const std::string& folder : dataFolderCandidates(inputs, layout)) {
    const std::string reason = unusableBecause(folder);
    if (reason.empty()) {
      choice.folder = folder;
      break;
    }
    choice.rejected.push_back(folder + " (" + reason + ")");
    // A folder the player named and cannot be used deserves a word even when the search
    // goes on and finds another.
    if (given(inputs.dataOption) && folder == normalFolder(*inputs.dataOption)) {
      choice.warnings.push_back("--data \"" + folder + "\" " + reason);
    } else if (given(inputs.dataEnv) && folder == normalFolder(*inputs.dataEnv)) {
      choice.warnings.push_back("MARVOLEN_DATA \"" + folder + "\" " + reason);
    }
  }
  return choice;
}

std::string noDataMessage(const DataFolderChoice& choice, const std::string& option) {
  std::string message =
      std::string("no game data found (a folder holding ") + kPackListFile + "); tried:";
  for (std::size_t i = 0; i < choice.rejected.size(); ++i) {
    message += (i == 0 ? " " : ", ") + choice.rejected[i];
  }
  if (choice.rejected.empty()) message += " nothing";
  return message + "; name the folder with " + option + " DIR or $MARVOLEN_DATA";
}

std::string userPackFolder() {
  return world::playersPackFolder(xdgFolder("XDG_DATA_HOME", ".local/share"));
}

world::PackCatalog readGameCatalog(const std::string& dataFolder) {
  return world::readPackCatalog(dataFolder, userPackFolder());
}

}  // namespace mdx::app
