// The editor window's proof panel and status bar (live proof, path preview, play-test,
// export) and its prompts (file name, export, unsaved changes).
#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <filesystem>

#include "base/text.h"
#include "edit/pack_export.h"
#include "edit/sdl_editor.h"

namespace mdx::edit {

namespace {

// What this frame's keys did in a prompt: the button a key chose (or PromptKeys::kNone), and
// whether the focus moved (or the prompt just opened).
struct PromptInput {
  int chosen = PromptKeys::kNone;
  bool focusMoved = false;
};

// Hands this frame's Enter, Escape and Tab to the open prompt's keys (the editor has no ImGui
// keyboard navigation of its own).
PromptInput promptKeys(PromptKeys& keys) {
  PromptInput input;
  const int before = keys.focus();
  if (ImGui::IsWindowAppearing()) {
    keys.open();
    input.focusMoved = true;
  }
  if (ImGui::IsKeyPressedMap(ImGuiKey_Escape, false)) {
    input.chosen = keys.press(PromptKey::Escape);
  } else if (ImGui::IsKeyPressedMap(ImGuiKey_Enter, false) ||
             ImGui::IsKeyPressedMap(ImGuiKey_KeyPadEnter, false)) {
    input.chosen = keys.press(PromptKey::Enter);
  } else if (ImGui::IsKeyPressedMap(ImGuiKey_Tab)) {
    keys.press(ImGui::GetIO().KeyShift ? PromptKey::ShiftTab : PromptKey::Tab);
  }
  input.focusMoved = input.focusMoved || keys.focus() != before;
  return input;
}

// A prompt's text field: it takes the typing when the prompt's focus comes to it (or a click
// gives it the focus), and lets go of it when the focus goes to a button.
void promptField(const char* id, char* text, size_t size, PromptKeys& keys,
                 const PromptInput& input) {
  if (keys.focus() == PromptKeys::kField && input.focusMoved) ImGui::SetKeyboardFocusHere();
  ImGui::SetNextItemWidth(600);
  ImGui::PushItemFlag(ImGuiItemFlags_NoTabStop, true);  // Tab is the prompt's own
  ImGui::InputText(id, text, size);
  ImGui::PopItemFlag();
  if (ImGui::IsItemClicked()) keys.focusOn(PromptKeys::kField);
  if (keys.focus() != PromptKeys::kField && ImGui::IsItemActive()) ImGui::ClearActiveID();
}

// A prompt's button, framed while it has the keyboard's focus: true when clicked or chosen.
bool promptButton(const char* label, int index, const PromptInput& input, const PromptKeys& keys) {
  const bool clicked = ImGui::Button(label);
  if (keys.focus() == index) {
    ImGui::GetWindowDrawList()->AddRect(ImGui::GetItemRectMin(), ImGui::GetItemRectMax(),
                                        ImGui::GetColorU32(ImGuiCol_NavHighlight), 0, 0, 2);
  }
  return clicked || input.chosen == index;
}

}  // namespace

void EditorWindow::drawProof() {
  proofShown_ = proof_->status();
  if (proofShown_.revision != previewRevision_ && proofShown_.state != ProofState::Searching) {
    path_ = makePathPreview(proofShown_);
    previewRevision_ = proofShown_.revision;
    previewStep_ = 0;
  }
  log("proof", std::to_string(proofShown_.revision) + ": " + describeProof(proofShown_));
  log("preview", preview_ && path_.valid ? "on" : "off");
  ImGui::TextUnformatted("Proof");
  ImGui::TextWrapped("%s", describeProof(proofShown_).c_str());
  if (proofShown_.verdict) {
    const std::string why = level::explainVerdict(*proofShown_.verdict);
    if (!why.empty()) ImGui::TextWrapped("%s", why.c_str());
  }
  for (const level::LevelWarning& warning : warnings_) {
    ImGui::TextColored(ImVec4(0.75f, 0.35f, 0, 1), "warning: %s", warning.message.c_str());
  }
  log("warnings", std::to_string(warnings_.size()));
  if (path_.valid && proofShown_.revision == model_.revision()) {
    ImGui::Checkbox("show the robot's path", &preview_);
    if (preview_) {
      ImGui::SetNextItemWidth(-1);
      ImGui::SliderInt("##step", &previewStep_, 0, path_.worldSteps, "world step %d");
    }
  } else {
    preview_ = false;
  }
  ImGui::Separator();
  ImGui::BeginDisabled(game_.running());
  if (ImGui::Button(game_.running() ? "play-test running..." : "Play-test (F5)")) startPlayTest();
  ImGui::EndDisabled();
  ImGui::SameLine();
  if (ImGui::Button("Export into a pack...")) askExport_ = true;
  if (!message_.empty()) ImGui::TextWrapped("%s", message_.c_str());
  log("message", message_);
}

void EditorWindow::drawStatusBar() {
  const std::string cell = hoverRow_ >= 0 ? "row " + std::to_string(hoverRow_) + ", column " +
                                                std::to_string(hoverColumn_)
                                          : "";
  ImGui::Text("%s%s   |   %s   |   %s", model_.dirty() ? "* " : "",
              model_.path().empty() ? "new level" : model_.path().c_str(),
              describeProof(proofShown_).c_str(), cell.c_str());
}

void EditorWindow::drawPopups() {
  if (askFile_) {
    ImGui::OpenPopup(fileForSave_ ? "Save as" : "Open");
    askFile_ = false;
  }
  if (askExport_) {
    ImGui::OpenPopup("Export");
    askExport_ = false;
  }
  if (askUnsaved_) {
    ImGui::OpenPopup("Unsaved changes");
    log("prompt", "unsaved changes " + std::to_string(model_.revision()));
    askUnsaved_ = false;
  }
  drawFilePopup();
  drawExportPopup();
  drawUnsavedPopup();
}

void EditorWindow::drawFilePopup() {
  const char* title = fileForSave_ ? "Save as" : "Open";
  if (!ImGui::BeginPopupModal(title, nullptr, ImGuiWindowFlags_AlwaysAutoResize)) return;
  const PromptInput input = promptKeys(fileKeys_);
  ImGui::TextUnformatted(fileForSave_ ? "Save the level source (.src) as:"
                                      : "Open a level source (.src) or level file (.dat):");
  promptField("##name", fileName_, sizeof fileName_, fileKeys_, input);
  if (promptButton("OK", kPromptAccept, input, fileKeys_)) {
    std::string path = fileName_;
    if (!path.empty() && path[0] != '/') path = options_.workDir + "/" + path;
    std::string error;
    if (fileForSave_) {
      if (!base::endsWith(path, ".src")) path += ".src";
      message_ = model_.saveAs(path, error) ? "saved " + path : error;
    } else {
      message_ = model_.open(path, error) ? "opened " + path : error;
    }
    ImGui::CloseCurrentPopup();
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kPromptCancel, input, fileKeys_)) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

void EditorWindow::drawExportPopup() {
  if (!ImGui::BeginPopupModal("Export", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) return;
  const PromptInput input = promptKeys(exportKeys_);
  ImGui::TextUnformatted("Add the level to the pack in folder (made a pack when it is none):");
  promptField("##pack", exportDir_, sizeof exportDir_, exportKeys_, input);
  ImGui::TextWrapped(
      "Only a level proven winnable, and not by dropping every piece straight "
      "down, goes in. Now: %s",
      describeProof(proofShown_).c_str());
  if (promptButton("Export", kPromptAccept, input, exportKeys_)) {
    std::string error;
    int number = 0;
    message_ = exportToPack(model_.level(), proofShown_, model_.revision(), exportDir_,
                            options_.gameDir, number, error)
                   ? "exported as level " + std::to_string(number) + " of " + exportDir_
                   : "export refused: " + error;
    ImGui::CloseCurrentPopup();
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kPromptCancel, input, exportKeys_)) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

void EditorWindow::drawUnsavedPopup() {
  if (!ImGui::BeginPopupModal("Unsaved changes", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
    return;
  }
  if (!model_.dirty()) {  // saved or taken back meanwhile: nothing left to ask about
    ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
    return;
  }
  const PromptInput input = promptKeys(unsavedKeys_);
  ImGui::TextUnformatted("The level has unsaved changes.");
  if (promptButton("Save", kUnsavedSave, input, unsavedKeys_)) {
    save(false);
    ImGui::CloseCurrentPopup();
    if (!model_.dirty()) perform(pending_);
  }
  ImGui::SameLine();
  if (promptButton("Discard", kUnsavedDiscard, input, unsavedKeys_)) {
    ImGui::CloseCurrentPopup();
    perform(pending_);
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kUnsavedCancel, input, unsavedKeys_)) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

}  // namespace mdx::edit
