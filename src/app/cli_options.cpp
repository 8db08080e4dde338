#include "app/cli_options.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "app/replay.h"

namespace mdx::app {
namespace {

constexpr int kBaseWidth = 640;
constexpr int kBaseHeight = 480;

// Options that take a value, as "--name VALUE" or "--name=VALUE".
bool takesValue(const std::string& name) {
  return name == "--data" || name == "--pack" || name == "--scale" || name == "--log" ||
         name == "--level" || name == "--record" || name == "--replay" || name == "--install-pack";
}

// A whole number from 1 to most, in decimal digits only.
bool parseCount(const std::string& text, long most, int& result) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < 1 || value > most) return false;
  result = static_cast<int>(value);
  return true;
}

// Applies one option that has its value; returns an error text or "".
std::string applyValue(CommandLine& line, const std::string& name, const std::string& value) {
  if (name == "--data") {
    if (value.empty()) return "--data needs a folder name";
    line.dataDir = value;
  } else if (name == "--pack") {
    if (value.empty()) return "--pack needs a map-pack folder name";
    line.pack = value;
  } else if (name == "--log") {
    if (value.empty()) return "--log needs a file name";
    line.logFile = value;
  } else if (name == "--record") {
    if (value.empty()) return "--record needs a file name";
    line.recordFile = value;
  } else if (name == "--replay") {
    if (value.empty()) return "--replay needs a file name";
    line.replayFile = value;
  } else if (name == "--install-pack") {
    if (value.empty()) return "--install-pack needs a file name";
    line.installPack = value;
  } else if (name == "--scale") {
    if (!parseCount(value, kMaxScale, line.scale)) {
      return "--scale needs a whole number from 1 to " + std::to_string(kMaxScale) + ", not \"" +
             value + "\"";
    }
  } else if (name == "--level") {
    if (!parseCount(value, kMaxLevelOption, line.level)) {
      return "--level needs a level number from 1 to " + std::to_string(kMaxLevelOption) +
             ", not \"" + value + "\"";
    }
  }
  return "";
}

// Applies one option without a value; returns false when the name is unknown.
bool applyFlag(CommandLine& line, const std::string& name) {
  if (name == "--help" || name == "-h") {
    line.showHelp = true;
  } else if (name == "--version") {
    line.showVersion = true;
  } else if (name == "--no-dialog") {
    line.noDialog = true;
  } else if (name == "--windowed") {
    line.windowed = true;
  } else if (name == "--fullscreen") {
    line.windowed = false;
  } else if (name == "--no-sound") {
    line.noSound = true;
  } else if (name == "--3d-blocks") {
    line.blocks3D = true;
  } else if (name == "--uncapped") {
    line.uncapped = true;
  } else if (name == "--frame-bound-timers") {
    line.frameBoundTimers = true;
  } else if (name == "--no-save") {
    line.noSave = true;
  } else if (name == "--reset-settings") {
    line.resetSettings = true;
  } else if (name == "--play-test") {
    line.playTest = true;

  } else {
    return false;
  }
  return true;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    const std::size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (takesValue(name)) {
      if (!value) {
        if (i + 1 >= args.size()) {
          result.error = name + " needs a value";
          return result;
        }
        value = args[++i];
      }
      result.error = applyValue(result.options, name, *value);
      if (!result.error.empty()) return result;
    } else if (value || !applyFlag(result.options, name)) {
      result.error = "unknown option \"" + args[i] + "\"";
      return result;
    }
  }
  return result;
}

std::string usageText(const std::string& programName) {
  return "Usage: " + programName +
         " [options]\n"
         "Starts Marvolen DX. Without options the settings dialog opens first.\n"
         "\n"
         "  --help          show this text and exit\n"
         "  --version       show the version and exit\n"
         "  --data DIR      the game folder (media/, map packs, mappacks.ini); default: the\n"
         "                  first found of $MARVOLEN_DATA, the program's folder, the installed\n"
         "                  data (see \"man marvolen\")\n"
         "  --no-dialog     skip the settings dialog and start with its defaults (windowed,\n"
         "                  sound on, first map pack) or the options below\n"
         "  --windowed      play in a window\n"
         "  --fullscreen    play on the whole screen\n"
         "  --no-sound      no music and no sound effects\n"
         "  --3d-blocks     draw every block with a dark copy behind it, for depth\n"
         "  --pack NAME     play the map pack in folder NAME\n"
         "  --scale N       window size 640 x 480 times N (1 to 16); default: the largest that\n"
         "                  fits the screen\n"
         "  --log FILE      write one line per game-state change and level start to FILE\n"
         "                  (after a --replay, a last line with the whole final state)\n"
         "  --record FILE   write the session to FILE as a replay (marvolen-sim --replay)\n"
         "  --replay FILE   play the replay FILE in the window, without the settings dialog,\n"
         "                  and end with it\n"
         "  --level N       start level N of the map pack at once, skipping the title\n"
         "  --no-save       neither read nor write the saved progress\n"
         "  --play-test     end on the first level's result (won, lost, stuck) instead of going\n"
         "                  on, with a last log line such as \"play-test won in 57 steps\"\n"
         "  --install-pack FILE  install the shared map pack FILE (NAME.mdxpack) among your\n"
         "                  own packs after the same checks as \"marvolen-level pack check\",\n"
         "                  say what was installed or why not, and exit\n"
         "  --reset-settings  forget the remembered settings (display, window, sound, map\n"
         "                  pack, scale) and start from the defaults\n"

         "  --uncapped      draw frames as fast as possible, without waiting for the display\n"
         "  --frame-bound-timers  run each timer at most once per frame, dropping late periods\n"
         "                  (the first rule: the game runs slower at low frame rates)\n"
         "\n"
         "Alt+Enter switches between window and full screen while playing.\n";
}

std::string versionText() {
  return "Marvolen DX " + programVersion();
}

int chooseWindowScale(int usableWidth, int usableHeight) {
  // Leave about a tenth of the desktop free for the window frame, panels and docks.
  const int width = usableWidth - usableWidth / 10;
  const int height = usableHeight - usableHeight / 10;
  int scale = 1;
  while (scale < kMaxScale && kBaseWidth * (scale + 1) <= width &&
         kBaseHeight * (scale + 1) <= height) {
    ++scale;
  }
  return scale;
}

}  // namespace mdx::app
