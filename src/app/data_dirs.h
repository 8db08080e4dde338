// Finding the game's data folder: the folder that holds mappacks.ini, media/ and the map packs.
// The game may be started from any working directory, from its build folder or from an
// installed copy, so it searches a fixed list of places and takes the first that fits.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "world/pack_catalog.h"

namespace mdx::app {

// What the search looks at, gathered by the program entry from its command line and
// environment. Unset or empty values are skipped.
struct DataSearchInputs {
  std::optional<std::string> dataOption;   // --data DIR
  std::optional<std::string> dataEnv;      // $MARVOLEN_DATA
  std::string programDir;                  // the folder of the running program
  std::optional<std::string> xdgDataDirs;  // $XDG_DATA_DIRS, folders separated by ':'
};

// Where the installed data lies, as set by the install layout: relative to the program's
// folder, and below each data folder of $XDG_DATA_DIRS.
struct DataLayout {
  std::string besideProgram;  // e.g. "../share/games/marvolen-dx"
  std::string underDataDirs;  // e.g. "games/marvolen-dx"
};

// The layout this build installs with.
DataLayout installedDataLayout();

// $MARVOLEN_DATA and $XDG_DATA_DIRS as the search reads them; the caller adds --data and the
// program's folder.
DataSearchInputs dataSearchEnvironment();

// Where the game program lies as seen from the folder of the level tools (marvolen-level,
// marvolen-edit): in the build folder they sit beside the assembled game folder; installed,
// they sit in bin/ and the game in games/.
struct ToolLayout {
  std::string buildGameDir;      // e.g. "game"
  std::string installedGameDir;  // e.g. "../games"
};

// The layout this build puts its tools and game in.
ToolLayout installedToolLayout();

// The game's own folder seen from a tool in toolDir: the build's game folder when it is there,
// else the installed one (which need not exist). "" when toolDir is "". A tool searches for the
// data with this as the program's folder, so it finds what the game beside it would find.
std::string gameFolderBesideTool(const std::string& toolDir, const ToolLayout& layout);

// The folder of the running program, from /proc/self/exe; "" when the system does not say.
std::string runningProgramDir();

// The folders to try, in order: --data, $MARVOLEN_DATA, the program's folder, the installed
// data beside the program, then the data folder under each $XDG_DATA_DIRS entry (when that
// variable is unset or empty, the XDG default /usr/local/share:/usr/share). A folder that
// appears twice is tried once.
std::vector<std::string> dataFolderCandidates(const DataSearchInputs& inputs,
                                              const DataLayout& layout);

struct DataFolderChoice {
  std::string folder;                 // the first folder holding mappacks.ini; empty: none
  std::vector<std::string> rejected;  // "FOLDER (why)" for each folder passed over, in order
  std::vector<std::string> warnings;  // one line per unusable --data or $MARVOLEN_DATA
};

// Looks at each candidate on disk and stops at the first one holding mappacks.ini.
DataFolderChoice findDataFolder(const DataSearchInputs& inputs, const DataLayout& layout);

// The one-line message for a search that found nothing: every folder tried, with the reason,
// and how to name the folder (the program's option for it, then $MARVOLEN_DATA).
std::string noDataMessage(const DataFolderChoice& choice, const std::string& option = "--data");

// The player's own pack folder: $XDG_DATA_HOME/marvolen-dx/packs, by default
// ~/.local/share/marvolen-dx/packs; "" when neither variable is set.
std::string userPackFolder();

// The packs the game offers with the data folder dataFolder: its shipped packs, then the
// player's own from userPackFolder().
world::PackCatalog readGameCatalog(const std::string& dataFolder);

}  // namespace mdx::app
