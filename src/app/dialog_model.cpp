#include "app/dialog_model.h"

#include <filesystem>
#include <system_error>

#include "app/cli_options.h"

namespace mdx::app {

void StartupDialog::open(const std::optional<std::vector<std::string>>& adapters,
                         const world::PackCatalog& packs) {
  catalog = packs;
  if (!adapters) {
    // Without the display list the dialog opens empty; the options keep their start values
    // and Play still goes on to the device set-up, which reports its own failure.
    if (messages_) {
      messages_->showMessage("Cannot find the displays of this computer", "MarvolenDX: Error",
                             world::MessageIcon::Error);
    }
    return;
  }
  controls.adapterList = *adapters;
  options_.adapterIndex = 0;
  controls.adapterSelection = controls.adapterList.empty() ? -1 : 0;

  if (!packs.listOpened && messages_) {
    messages_->showMessage("Error opening file MAPPACKS.INI", "Critical Error",
                           world::MessageIcon::Error);
  }
  // The list is read into packName pack by pack: it holds the last until the pack is settled.
  controls.packList.clear();
  for (const world::CatalogPack& pack : packs.packs) controls.packList.push_back(pack.name);
  if (!packs.packs.empty()) options_.packName = packs.packs.back().name;
  controls.packSelection = controls.packList.empty() ? -1 : 0;
  // The index is the list's selection: -1 for an empty list, which names no line, so the
  // device set-up keeps packName as it is.
  options_.packIndex = controls.packSelection;

  options_.windowed = 1;
  controls.fullScreenChecked = false;
  controls.windowedChecked = true;
  options_.blocks3D = 0;
  options_.soundEnabled = 1;
  controls.soundChecked = true;
}

std::vector<std::string> StartupDialog::packLabels() const {
  std::vector<std::string> labels;
  for (const std::string& name : controls.packList) {
    const world::CatalogPack* pack = catalog.find(name);
    labels.push_back(catalog.shownNameOf(name));
    if (pack != nullptr && pack->playersOwn) labels.back() += " (yours)";
  }
  return labels;
}

void StartupDialog::selectAdapter(int index) {
  if (index < 0 || index >= static_cast<int>(controls.adapterList.size())) return;
  controls.adapterSelection = index;
  command(kIdAdapterList);
}

void StartupDialog::selectPack(int index) {
  if (index < 0 || index >= static_cast<int>(controls.packList.size())) return;
  controls.packSelection = index;
  command(kIdPackList);
}

void StartupDialog::setSoundChecked(bool checked) {
  controls.soundChecked = checked;
  command(kIdEnableSound);
}

void StartupDialog::setBlocks3DChecked(bool checked) {
  controls.blocks3DChecked = checked;
  command(kIdBlocks3D);
}

bool StartupDialog::command(int controlId) {
  switch (controlId) {
    case kIdExit:
    case kIdCancel:
      result = kDialogExit;
      return true;
    case kIdPlay:
      result = kDialogPlay;
      return true;
    case kIdFullScreen:
      controls.fullScreenChecked = true;
      controls.windowedChecked = false;
      options_.windowed = 0;
      return true;
    case kIdWindowed:
      controls.windowedChecked = true;
      controls.fullScreenChecked = false;
      options_.windowed = 1;
      return true;
    case kIdBlocks3D:
      options_.blocks3D = controls.blocks3DChecked ? 1 : 0;
      return true;
    case kIdEnableSound:
      options_.soundEnabled = controls.soundChecked ? 1 : 0;
      return true;
    case kIdAdapterList:
      // An empty list has no selection; the index then stays where it is.
      if (controls.adapterSelection >= 0) options_.adapterIndex = controls.adapterSelection;
      return true;
    case kIdPackList:
      if (controls.packSelection >= 0) options_.packIndex = controls.packSelection;
      return true;
    default:
      return false;
  }
}

void StartupDialog::enterKey(int focusedControl) {
  command(focusedControl == kIdExit ? kIdExit : kIdPlay);
}

}  // namespace mdx::app

namespace mdx::app {

std::string presetDialog(StartupDialog& dialog, world::Options& options,
                         const CommandLine& commandLine) {
  if (commandLine.windowed) dialog.command(*commandLine.windowed ? kIdWindowed : kIdFullScreen);
  if (commandLine.noSound) dialog.setSoundChecked(false);
  if (commandLine.blocks3D) dialog.setBlocks3DChecked(true);
  if (!commandLine.pack) return "";
  const std::string& name = *commandLine.pack;
  const std::vector<std::string>& packs = dialog.controls.packList;
  for (std::size_t i = 0; i < packs.size(); ++i) {
    if (packs[i] == name) {
      dialog.selectPack(static_cast<int>(i));
      return "";
    }
  }
  std::error_code error;
  const std::string folder = dialog.catalog.layoutOf(name).packFolder;
  if (!std::filesystem::is_directory(folder, error)) {
    return "no map pack \"" + name + "\": it is not listed in mappacks.ini, nor among your " +
           "packs, and there is no folder " + folder;
  }
  // The folder joins the list as an extra entry. Its index names no line of mappacks.ini, so
  // the device set-up keeps packName as given here.
  dialog.controls.packList.push_back(name);
  dialog.selectPack(static_cast<int>(packs.size()) - 1);
  options.packName = name;
  return "";
}

void settlePackName(world::Options& options, const world::PackCatalog& catalog) {
  options.packName = catalog.nameAt(options.packIndex, options.packName);
}

}  // namespace mdx::app
