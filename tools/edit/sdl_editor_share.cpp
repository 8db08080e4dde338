// The editor window's Share menu: a whole pack written as one file for other players, and a
// pack file installed among the player's own packs, each through a prompt naming what it
// works on. Both go through the same archive writer and installer as marvolen-level and the
// game, so a pack shared from here is checked as theirs are.
#include <imgui.h>

#include <cstdio>
#include <string>

#include "edit/file_choice.h"
#include "edit/pack_export.h"
#include "edit/sdl_editor.h"
#include "edit/sdl_prompts.h"

namespace mdx::edit {

namespace {

constexpr const char* kExportTitle = "Export pack as one file";
constexpr const char* kImportTitle = "Import pack file";

void copyText(char* out, size_t size, const std::string& text) {
  std::snprintf(out, size, "%s", text.c_str());
}

}  // namespace

// Ctrl+Shift+E and Ctrl+Shift+I; plain Ctrl+E stays the level's export.
bool EditorWindow::handleShareShortcut(int key, bool shift) {
  if (!shift) return false;
  if (key == 'e') offerPackExport();
  if (key == 'i') share_.askImport = true;
  return key == 'e' || key == 'i';
}

void EditorWindow::drawShareMenu() {
  if (!ImGui::BeginMenu("Share")) return;
  if (ImGui::MenuItem("Export pack as one file...", "Ctrl+Shift+E")) offerPackExport();
  if (ImGui::MenuItem("Import pack file...", "Ctrl+Shift+I")) share_.askImport = true;
  ImGui::EndMenu();
}

// The pack offered is the one the open level lies in, else the one levels are exported to.
void EditorWindow::offerPackExport() {
  const std::string pack = packFolderOf(model_.path());
  copyText(share_.packDir, sizeof share_.packDir, pack.empty() ? prompts_.exportDir : pack);
  share_.askExport = true;
}

void EditorWindow::drawSharePopups() {
  for (bool* asked : {&share_.askExport, &share_.askImport}) {
    if (!*asked) continue;
    ImGui::OpenPopup(asked == &share_.askExport ? kExportTitle : kImportTitle);
    *asked = false;
    framesLeft_ = kFramesAfterEvent;
  }
  drawPackExportPopup();
  drawPackImportPopup();
}

void EditorWindow::drawPackExportPopup() {
  if (!beginPrompt(kExportTitle, kPromptWidth)) return;
  log("prompt", std::string(kExportTitle) + " " + share_.packDir);
  const PromptInput input = promptKeys(share_.exportKeys);
  ImGui::TextUnformatted("The pack folder to share:");
  promptField("##packdir", share_.packDir, sizeof share_.packDir, share_.exportKeys, input);
  const std::string pack = absoluteFrom(share_.packDir, options_.workDir);
  const std::string file = packFileFor(pack, options_.workDir);
  ImGui::TextWrapped("It is checked as the game checks it, then written as %s",
                     file.empty() ? "(name a pack folder)" : file.c_str());
  if (promptButton("Export", kPromptAccept, input, share_.exportKeys)) {
    std::string message = "name a pack folder to share";
    if (!file.empty()) exportPackFile(pack, file, options_.gameDir, message);
    say(message);
    ImGui::CloseCurrentPopup();
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kPromptCancel, input, share_.exportKeys)) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

void EditorWindow::drawPackImportPopup() {
  if (!beginPrompt(kImportTitle, kPromptWidth)) return;
  log("prompt", std::string(kImportTitle) + " " + share_.packFile);
  const PromptInput input = promptKeys(share_.importKeys);
  ImGui::TextUnformatted("The pack file (.mdxpack) to install among your packs:");
  promptField("##packfile", share_.packFile, sizeof share_.packFile, share_.importKeys, input);
  if (promptButton("Install", kPromptAccept, input, share_.importKeys)) {
    say(importPackFile(absoluteFrom(share_.packFile, options_.workDir), options_.gameDir).message);
    ImGui::CloseCurrentPopup();
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kPromptCancel, input, share_.importKeys)) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

void EditorWindow::logPlace(const std::string& what) {
  log("place " + what, lastItemPlace());
}

}  // namespace mdx::edit
