// The startup dialog's logic without any window: what its controls show, the options each
// control sets, and the result. The SDL dialog draws it and forwards the user's actions here;
// tests drive it directly.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "world/game_state.h"
#include "world/pack_catalog.h"
#include "world/services.h"

namespace mdx::app {

// Control ids of the dialog, and its two results.
enum DialogControlId : int {
  kIdCancel = 2,  // Esc key or the close box
  kIdPlay = 1002,
  kIdExit = 1003,
  kIdFullScreen = 1008,
  kIdWindowed = 1009,
  kIdBlocks3D = 1010,  // hidden: never drawn, kept for completeness of the options
  kIdEnableSound = 1011,
  kIdAdapterList = 1017,
  kIdPackList = 1018,
};
constexpr int kDialogPlay = kIdPlay;
constexpr int kDialogExit = kIdExit;

// What the visible controls show. A selection of -1 means nothing is selected.
struct DialogControls {
  std::vector<std::string> adapterList;
  int adapterSelection = -1;
  std::vector<std::string> packList;
  int packSelection = -1;
  bool fullScreenChecked = false;
  bool windowedChecked = false;
  bool blocks3DChecked = false;
  bool soundChecked = false;
};

class StartupDialog {
 public:
  // options are written the moment a control is touched; messages may be null.
  StartupDialog(world::Options& options, world::MessageBoxes* messages)
      : options_(options), messages_(messages) {}

  // Opens the dialog: fills the display list (nullopt: the displays cannot be asked, which is
  // reported and leaves both lists empty and the options as they were), lists the packs of
  // the catalogue (a missing mappacks.ini is reported), and sets the defaults: first display,
  // windowed, sound on, first pack.
  void open(const std::optional<std::vector<std::string>>& adapters,
            const world::PackCatalog& packs);

  // What the pack list shows: each pack's name as the catalogue shows it, the player's own
  // packs marked " (yours)".
  std::vector<std::string> packLabels() const;

  // The user changed a control. The control's shown state is set first, then the command
  // runs as its notification. Out-of-range list indices are ignored.
  void selectAdapter(int index);
  void selectPack(int index);
  void setSoundChecked(bool checked);
  void setBlocks3DChecked(bool checked);

  // Runs the command of one control id; false for an id the dialog does not handle.
  bool command(int controlId);

  // Enter presses the default button Play, unless the focus is on Exit, which it presses.
  void enterKey(int focusedControl);

  DialogControls controls;
  world::PackCatalog catalog;  // the packs the dialog was opened with
  int result = 0;              // 0 while the dialog is open, then kDialogPlay or kDialogExit
  bool ended() const { return result != 0; }

 private:
  world::Options& options_;
  world::MessageBoxes* messages_;
};

}  // namespace mdx::app

namespace mdx::app {

struct CommandLine;

// Applies the command line's choices to an opened dialog as if the user had made them:
// --fullscreen / --windowed, --no-sound, --pack. A pack the catalogue does not list is still
// played when its folder exists (a folder of the data folder, or a full path; the options then
// name it directly); otherwise the result is an error text, and "" on success.
std::string presetDialog(StartupDialog& dialog, world::Options& options,
                         const CommandLine& commandLine);

// Settles the pack once the dialog has closed: options.packName becomes pack options.packIndex
// of the catalogue; an index that names no pack (an empty list, an unlisted --pack folder)
// leaves packName as the dialog set it.
void settlePackName(world::Options& options, const world::PackCatalog& catalog);

}  // namespace mdx::app
