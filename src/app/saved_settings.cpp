#include "app/saved_settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/text.h"

namespace mdx::app {
namespace {

constexpr const char* kHeading = "[marvolen]";
// How notes name the file.
constexpr const char* kWhat = "settings";

std::optional<int> parseNumber(const std::string& text, int least, int most) {
  if (text.empty() || text.size() > 4 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int value = std::stoi(text);
  if (value < least || value > most) return std::nullopt;
  return value;
}

std::optional<bool> parseFlag(const std::string& text) {
  if (text == "1" || text == "yes" || text == "true") return true;
  if (text == "0" || text == "no" || text == "false") return false;
  return std::nullopt;
}

// Stores parsed in field when it holds a value; false (the field kept) when it does not.
template <typename T>
bool store(std::optional<T>& field, const std::optional<T>& parsed) {
  if (!parsed) return false;
  field = parsed;
  return true;
}

// Sets one key; false when the key is unknown or its value bad (the earlier value stays).
bool applySetting(SavedSettings& s, const std::string& key, const std::string& value) {
  if (key == "display") return store(s.display, parseNumber(value, 0, 63));
  if (key == "windowed") return store(s.windowed, parseFlag(value));
  if (key == "sound") return store(s.sound, parseFlag(value));
  if (key == "pack") return !value.empty() && store(s.pack, std::optional<std::string>(value));
  if (key == "scale") return store(s.scale, parseNumber(value, 1, kMaxScale));
  return setKeyChoice(s.keys, key, value);
}

}  // namespace

SavedSettings parseSettings(const std::string& text, std::vector<std::string>& notes) {
  SavedSettings settings;
  for (const TextLine& line : nonEmptyLines(text)) {
    const std::string& t = line.text;
    if (t == kHeading || t[0] == '#' || t[0] == ';') continue;
    const std::size_t equals = t.find('=');
    if (equals == std::string::npos ||
        !applySetting(settings, t.substr(0, equals), t.substr(equals + 1))) {
      notes.push_back("line " + std::to_string(line.number) + " ignored: " + quotedLine(t));
    }
  }
  return settings;
}

std::string settingsText(const SavedSettings& s) {
  std::string out = std::string(kHeading) + "\n";
  if (s.display) out += "display=" + std::to_string(*s.display) + "\n";
  if (s.windowed) out += std::string("windowed=") + (*s.windowed ? "1" : "0") + "\n";
  if (s.sound) out += std::string("sound=") + (*s.sound ? "1" : "0") + "\n";
  // A name that could not be read back as one line is not written.
  if (s.pack && s.pack->find_first_of("\r\n") == std::string::npos) out += "pack=" + *s.pack + "\n";
  if (s.scale) out += "scale=" + std::to_string(*s.scale) + "\n";
  return out + keyChoiceLines(s.keys);
}

std::string settingsFilePath() {
  const std::string folder = xdgFolder("XDG_CONFIG_HOME", ".config");
  return folder.empty() ? "" : folder + "/marvolen-dx/settings.ini";
}

SavedSettings loadSettings(const std::string& path,
                           const std::function<void(const std::string&)>& note) {
  SavedSettings settings;
  if (path.empty()) return settings;
  readNotedFile(path, kWhat, note,
                [&settings](const std::string& text, std::vector<std::string>& notes) {
                  settings = parseSettings(text, notes);
                });
  return settings;
}

bool saveSettings(const std::string& path, const SavedSettings& settings,
                  const std::function<void(const std::string&)>& note, const FileWriter& writer) {
  return !path.empty() && writeNotedFile(path, settingsText(settings), kWhat, note, writer);
}

void rememberWindowScale(const std::string& path, int openedScale, int scaleInUse,
                         const std::function<void(const std::string&)>& note) {
  const int scale = std::clamp(scaleInUse, 1, kMaxScale);
  if (path.empty() || scale == openedScale) return;
  SavedSettings settings = loadSettings(path, note);
  settings.scale = scale;
  saveSettings(path, settings, note);
}

void rememberKeys(const std::string& path, const KeyChoices& chosen,
                  const std::function<void(const std::string&)>& note) {
  if (path.empty()) return;
  SavedSettings settings = loadSettings(path, note);
  settings.keys.keys = chosen.keys;
  saveSettings(path, settings, note);
}

void forgetSettings(const std::string& path, const std::function<void(const std::string&)>& note) {
  if (path.empty() || std::remove(path.c_str()) == 0 || errno == ENOENT) return;
  note("settings not forgotten: \"" + path + "\": " + std::strerror(errno));
}

void presetSavedSettings(StartupDialog& dialog, const SavedSettings& s, const NoteSink& note) {
  const DialogControls& shown = dialog.controls;
  if (s.display && *s.display < static_cast<int>(shown.adapterList.size())) {
    dialog.selectAdapter(*s.display);
  } else if (s.display && !shown.adapterList.empty()) {
    note(std::string(kWhat) + ": display=" + std::to_string(*s.display) + " is not connected (" +
         std::to_string(shown.adapterList.size()) + " found); the first display is used");
  }
  if (s.windowed) dialog.command(*s.windowed ? kIdWindowed : kIdFullScreen);
  if (s.sound) dialog.setSoundChecked(*s.sound);
  if (!s.pack) return;
  const std::vector<std::string>& packs = shown.packList;
  const auto found = std::find(packs.begin(), packs.end(), *s.pack);
  if (found != packs.end()) {
    dialog.selectPack(static_cast<int>(found - packs.begin()));
  } else if (!packs.empty()) {
    note(std::string(kWhat) + ": pack=" + base::escaped(*s.pack) + " is not among the map packs; " +
         base::escaped(packs.front()) + " is used");
  }
}

SavedSettings settingsToSave(const world::Options& chosen, const std::vector<std::string>& packs,
                             const SavedSettings& before, const CommandLine& commandLine,
                             int scale) {
  SavedSettings s;
  s.display = static_cast<int>(chosen.adapterIndex);
  s.windowed = commandLine.windowed ? before.windowed : std::optional<bool>(chosen.windowed != 0);
  s.sound = commandLine.noSound ? before.sound : std::optional<bool>(chosen.soundEnabled != 0);
  const bool listed = chosen.packIndex >= 0 && chosen.packIndex < static_cast<int>(packs.size());
  if (commandLine.pack) {
    s.pack = before.pack;
  } else if (listed) {
    s.pack = packs[static_cast<std::size_t>(chosen.packIndex)];
  }
  s.scale = commandLine.scale > 0 ? before.scale : std::optional<int>(scale);
  s.keys = before.keys;  // chosen on the keys page, not in the dialog
  return s;
}

}  // namespace mdx::app
