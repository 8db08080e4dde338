// The startup dialog on screen: its own small SDL window, drawn with Dear ImGui, laid out
// like the classic settings box. The logic lives in StartupDialog.
#pragma once

#include "app/dialog_model.h"

namespace mdx::app {

// Shows the dialog (already opened with StartupDialog::open) and runs it until Play, Exit,
// Esc or the close box. Returns dialog.result. When no window can be made for it, returns
// kDialogFailed (the dialog's result stays 0). SDL's video must be initialised.
constexpr int kDialogFailed = -1;
int runStartupDialog(StartupDialog& dialog);

}  // namespace mdx::app
