// The settings remembered between runs: the startup dialog's choices (display, full screen or
// window, sound, map pack) and the window scale. Kept in
// $XDG_CONFIG_HOME/marvolen-dx/settings.ini as "key=value" lines under a [marvolen] heading;
// they preset the dialog (and --no-dialog) next time. Options on the command line win for
// their run and are not saved.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/cli_options.h"
#include "app/dialog_model.h"
#include "app/key_bindings.h"
#include "app/player_files.h"

namespace mdx::app {

struct SavedSettings {
  std::optional<int> display;  // index in the display list
  std::optional<bool> windowed;
  std::optional<bool> sound;
  std::optional<std::string> pack;  // map-pack folder name
  std::optional<int> scale;         // window scale, 1 to kMaxScale
  KeyChoices keys;                  // the player's keys and pad buttons, as named
};

// Reads settings text; unknown keys, bad values and stray lines each add a note and are
// skipped. Pack names keep everything after the first '=' (spaces, '=', UTF-8). Key and pad
// button names are kept as written; they are checked when the game resolves them, so a name
// this machine cannot use is still written back.
SavedSettings parseSettings(const std::string& text, std::vector<std::string>& notes);
std::string settingsText(const SavedSettings& settings);

// Where the settings file lives; "" when neither XDG_CONFIG_HOME nor HOME is set.
std::string settingsFilePath();

// Loads the file (a missing file is no settings); problems go to note.
SavedSettings loadSettings(const std::string& path,
                           const std::function<void(const std::string&)>& note);
// Writes the file safely; false with a note when it cannot.
bool saveSettings(const std::string& path, const SavedSettings& settings,
                  const std::function<void(const std::string&)>& note,
                  const FileWriter& writer = {});
// After play: when the player left the window at another whole scale than it opened with
// (they resized it), saves that scale in the file at path, keeping its other settings, so the
// next start opens the window as it was left. Nothing is written when the scale is unchanged.
void rememberWindowScale(const std::string& path, int openedScale, int scaleInUse,
                         const std::function<void(const std::string&)>& note);
// After a change on the keys page: saves the keyboard keys of chosen in the file at path in
// place of those there, keeping its other settings and its pad buttons.
void rememberKeys(const std::string& path, const KeyChoices& chosen,
                  const std::function<void(const std::string&)>& note);
// Removes the file (--reset-settings); a missing file is fine.
void forgetSettings(const std::string& path, const std::function<void(const std::string&)>& note);

// Presets an opened dialog with saved settings as if the player had chosen them. A display or
// pack that is no longer listed is left at the dialog's default, with a note saying so.
void presetSavedSettings(StartupDialog& dialog, const SavedSettings& settings,
                         const NoteSink& note);

// What to save after Play: the dialog's final choices, except that a choice given on the
// command line keeps the value saved before (the command line is for one run only). scale is
// the window scale in use.
SavedSettings settingsToSave(const world::Options& chosen, const std::vector<std::string>& packs,
                             const SavedSettings& before, const CommandLine& commandLine,
                             int scale);

}  // namespace mdx::app
