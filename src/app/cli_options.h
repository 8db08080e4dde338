// The command line of the marvolen program. Every option is optional; with none given the game
// behaves as it always has: the startup dialog, then the game in the dialog's choices.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mdx::app {

constexpr int kMaxScale = 16;
// Highest level number --level accepts; the pack's own count limits it further.
constexpr int kMaxLevelOption = 98;

struct CommandLine {
  bool showHelp = false;
  bool showVersion = false;
  bool noDialog = false;               // start at once with the dialog's defaults
  std::optional<bool> windowed;        // --windowed / --fullscreen; the last one given wins
  bool noSound = false;                // --no-sound
  bool blocks3D = false;               // --3d-blocks: blocks drawn with a shadow copy behind them
  std::optional<std::string> pack;     // --pack NAME: a map-pack folder name
  int scale = 0;                       // --scale N: window is 640 x 480 times N; 0 = choose
  std::optional<std::string> dataDir;  // --data DIR: the game folder, made the working directory
  std::optional<std::string> logFile;  // --log FILE: one line per state change and level start
  bool uncapped = false;               // --uncapped: no vsync, no frame wait (the original loop)
  bool frameBoundTimers = false;       // --frame-bound-timers: TimerRule::FrameBound
  int level = 0;                       // --level N: start level N of the pack at once; 0 = title
  bool noSave = false;                 // --no-save: neither read nor write saved progress
  bool resetSettings = false;          // --reset-settings: forget the remembered settings
  bool playTest = false;               // --play-test: end on the first level's result and log it
  std::optional<std::string> recordFile;   // --record FILE: write the session as a replay
  std::optional<std::string> replayFile;   // --replay FILE: play a replay in the window
  std::optional<std::string> installPack;  // --install-pack FILE: install a shared pack, exit
};

struct ParsedCommandLine {
  CommandLine options;
  std::string error;  // empty when the line was understood
};

// Parses the arguments after the program name. Accepts "--opt VALUE" and "--opt=VALUE".
// Unknown options, missing values and bad numbers give an error naming the argument.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

// The --help text: usage line and one line per option.
std::string usageText(const std::string& programName);

// The --version text, e.g. "Marvolen DX 1.0".
std::string versionText();

// The window scale used when --scale is not given: the largest whole multiple of 640 x 480
// that leaves a margin on a desktop of usableWidth x usableHeight (at least 1).
int chooseWindowScale(int usableWidth, int usableHeight);

}  // namespace mdx::app
