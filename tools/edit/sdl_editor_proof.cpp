// The editor window's proof panel and status bar (live proof, path preview, play-test,
// export) and its prompts (file name, export, unsaved changes, the keys, autosave recovery).
#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <cstdio>
#include <filesystem>

#include "edit/editor_keys.h"
#include "edit/pack_export.h"
#include "edit/sdl_editor.h"
#include "edit/sdl_prompts.h"

namespace mdx::edit {

namespace {

constexpr float kChoicesHeight = 150.0f;
constexpr float kKeysColumn = 190.0f;

}  // namespace

void EditorWindow::drawProof() {
  proofShown_.status = proof_->status();
  if (proofShown_.status.revision != proofShown_.pathRevision &&
      proofShown_.status.state != ProofState::Searching) {
    proofShown_.path = makePathPreview(proofShown_.status);
    proofShown_.pathRevision = proofShown_.status.revision;
    proofShown_.previewStep = 0;
  }
  log("proof",
      std::to_string(proofShown_.status.revision) + ": " + describeProof(proofShown_.status));
  log("preview", proofShown_.preview && proofShown_.path.valid ? "on" : "off");
  ImGui::TextUnformatted("Proof");
  ImGui::TextWrapped("%s", describeProof(proofShown_.status).c_str());
  if (proofShown_.status.verdict) {
    const std::string why = level::explainVerdict(*proofShown_.status.verdict);
    if (!why.empty()) ImGui::TextWrapped("%s", why.c_str());
  }
  ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.75f, 0.35f, 0, 1));
  for (const level::LevelWarning& warning : proofShown_.warnings) {
    ImGui::TextWrapped("warning: %s", warning.message.c_str());
  }
  ImGui::PopStyleColor();
  log("warnings", std::to_string(proofShown_.warnings.size()));
  if (proofShown_.path.valid && proofShown_.status.revision == model_.revision()) {
    ImGui::Checkbox("show the robot's path", &proofShown_.preview);
    if (proofShown_.preview) {
      ImGui::SetNextItemWidth(-1);
      ImGui::SliderInt("##step", &proofShown_.previewStep, 0, proofShown_.path.worldSteps,
                       "world step %d");
    }
  } else {
    proofShown_.preview = false;
  }
  ImGui::Separator();
  ImGui::BeginDisabled(game_.running());
  if (ImGui::Button(game_.running() ? "play-test running..." : "Play-test (F5)")) startPlayTest();
  ImGui::EndDisabled();
  ImGui::SameLine();
  if (ImGui::Button("Export into a pack... (Ctrl+E)")) prompts_.askExport = true;
  if (!messages_.text.empty()) ImGui::TextWrapped("%s", messages_.text.c_str());
  log("message", messages_.text);
}

void EditorWindow::drawStatusBar() {
  const std::string cell = canvasState_.hoverRow >= 0
                               ? "row " + std::to_string(canvasState_.hoverRow) + ", column " +
                                     std::to_string(canvasState_.hoverColumn)
                               : "";
  log("cell", cell.empty() ? "none" : cell);
  ImGui::Text("%s%s   |   %s   |   %s", model_.dirty() ? "* " : "",
              model_.path().empty() ? "new level" : model_.path().c_str(),
              describeProof(proofShown_.status).c_str(), cell.c_str());
}

void EditorWindow::drawPopups() {
  // A prompt opening is drawn to its settled size before the editor waits again.
  const auto open = [this](bool& asked, const char* title) {
    if (!asked) return;
    ImGui::OpenPopup(title);
    asked = false;
    framesLeft_ = kFramesAfterEvent;
  };
  if (prompts_.askUnsaved) log("prompt", "unsaved changes " + std::to_string(model_.revision()));
  open(prompts_.askFile, prompts_.fileForSave ? "Save as" : "Open");
  open(prompts_.askExport, "Export");
  open(prompts_.askUnsaved, "Unsaved changes");
  open(prompts_.askKeys, "Keys and mouse");
  open(prompts_.askRecover, "Recover");
  drawFilePopup();
  drawExportPopup();
  drawUnsavedPopup();
  drawKeysPopup();
  drawRecoverPopup();
  drawSharePopups();
}

void EditorWindow::drawFilePopup() {
  const char* title = prompts_.fileForSave ? "Save as" : "Open";
  if (!beginPrompt(title, kPromptWidth)) return;
  log("prompt", std::string(title) + " " + prompts_.fileName);
  const PromptInput input = promptKeys(prompts_.fileKeys);
  ImGui::TextUnformatted(prompts_.fileForSave ? "Save the level source (.src) as:"
                                              : "Open a level source (.src) or level file (.dat):");
  promptField("##name", prompts_.fileName, sizeof prompts_.fileName, prompts_.fileKeys, input);
  drawFileChoices();
  if (promptButton("OK", kPromptAccept, input, prompts_.fileKeys)) {
    std::string error;
    const std::string path = prompts_.fileForSave ? savePath(prompts_.fileName, options_.workDir)
                                                  : openPath(prompts_.fileName, options_.workDir);
    const uint64_t edited = model_.revision();  // saving moves it on; the proof is of this one
    const bool done = prompts_.fileForSave ? model_.saveAs(path, error) : model_.open(path, error);
    if (!done) {
      say(error);
    } else {
      say(prompts_.fileForSave
              ? rebuildSavedPackLevel(path, model_.level(), proofShown_.status, edited)
              : "opened " + path);
    }
    if (done) prompts_.recent->add(path);
    if (done && !prompts_.fileForSave) offerRecovery();
    ImGui::CloseCurrentPopup();
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kPromptCancel, input, prompts_.fileKeys)) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

// The level sources beside the typed name and the files opened lately: a click takes one into
// the field.
void EditorWindow::drawFileChoices() {
  const std::string folder = folderOf(prompts_.fileName, options_.workDir);
  const auto choose = [this](const std::vector<std::string>& paths, const char* id) {
    ImGui::BeginChild(id, ImVec2(kPromptFieldWidth, kChoicesHeight), true);
    for (const std::string& path : paths) {
      if (ImGui::Selectable(path.c_str())) {
        std::snprintf(prompts_.fileName, sizeof prompts_.fileName, "%s", path.c_str());
        prompts_.fileKeys.focusOn(PromptKeys::kField);
      }
    }
    ImGui::EndChild();
  };
  ImGui::Text("Level sources in %s:", folder.c_str());
  choose(sourcesIn(folder), "sources");
  ImGui::TextUnformatted("Opened or saved lately:");
  choose(prompts_.recent->existing(), "recent");
}

void EditorWindow::drawExportPopup() {
  if (!beginPrompt("Export", kPromptWidth)) return;
  const ImVec2 size = ImGui::GetWindowSize();
  if (!ImGui::GetCurrentWindow()->Hidden) {  // its size as shown, for scripts
    log("prompt", "Export " + std::to_string(static_cast<int>(size.x)) + "x" +
                      std::to_string(static_cast<int>(size.y)));
  }
  const PromptInput input = promptKeys(prompts_.exportKeys);
  ImGui::TextUnformatted("Add the level to the pack in folder (made a pack when it is none):");
  promptField("##pack", prompts_.exportDir, sizeof prompts_.exportDir, prompts_.exportKeys, input);
  ImGui::TextWrapped(
      "Only a level proven winnable, and not by dropping every piece straight "
      "down, goes in. Now: %s",
      describeProof(proofShown_.status).c_str());
  if (promptButton("Export", kPromptAccept, input, prompts_.exportKeys)) {
    std::string error;
    int number = 0;
    if (exportToPack(model_.level(), proofShown_.status, model_.revision(), prompts_.exportDir,
                     options_.gameDir, number, error)) {
      say("exported as level " + std::to_string(number) + " of " + prompts_.exportDir);
    } else {
      say("export refused: " + error, true);  // the next edit may well mend it
    }
    ImGui::CloseCurrentPopup();
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kPromptCancel, input, prompts_.exportKeys)) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

void EditorWindow::drawUnsavedPopup() {
  if (!beginPrompt("Unsaved changes", 0)) return;
  if (!model_.dirty()) {  // saved or taken back meanwhile: nothing left to ask about
    ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
    return;
  }
  const PromptInput input = promptKeys(prompts_.unsavedKeys);
  ImGui::TextUnformatted("The level has unsaved changes.");
  if (promptButton("Save", kUnsavedSave, input, prompts_.unsavedKeys)) {
    save(false);
    ImGui::CloseCurrentPopup();
    if (!model_.dirty()) perform(prompts_.pending);
  }
  ImGui::SameLine();
  if (promptButton("Discard", kUnsavedDiscard, input, prompts_.unsavedKeys)) {
    ImGui::CloseCurrentPopup();
    perform(prompts_.pending);
  }
  ImGui::SameLine();
  if (promptButton("Cancel", kUnsavedCancel, input, prompts_.unsavedKeys))
    ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

// Every key and mouse action of the editor, from the one key table --help prints too.
void EditorWindow::drawKeysPopup() {
  if (!beginPrompt("Keys and mouse", kPromptWidth)) return;
  log("prompt", "keys " + std::to_string(editorKeys().size()));
  const PromptInput input = promptKeys(prompts_.keysKeys);
  for (const KeyAction& key : editorKeys()) {
    ImGui::TextUnformatted(key.keys);
    ImGui::SameLine(kKeysColumn);
    ImGui::TextWrapped("%s", key.does);
  }
  // Escape, Enter and F1 close it, as F1 opened it.
  const bool again = ImGui::IsKeyPressed(SDL_SCANCODE_F1, false);
  if (promptButton("Close", kPromptAccept, input, prompts_.keysKeys) || again) {
    ImGui::CloseCurrentPopup();
  }
  ImGui::EndPopup();
}

// The file opened has an autosave newer than itself: the edits of a session that ended
// without saving. Recover puts them in place as one unsaved edit (undo goes back to the file
// as saved); Discard deletes the autosave.
void EditorWindow::drawRecoverPopup() {
  if (!beginPrompt("Recover", kPromptWidth)) return;
  const std::string path = model_.path();
  log("prompt", "Recover " + path);
  const PromptInput input = promptKeys(prompts_.recoverKeys);
  ImGui::TextWrapped(
      "%s has an autosave newer than itself, with edits that were never saved. Recover them "
      "(undo then goes back to the file as saved), or discard them?",
      path.c_str());
  if (promptButton("Recover", kRecoverAutosave, input, prompts_.recoverKeys)) {
    std::string error;
    say(recoverAutosave(model_, path, error) ? "recovered the autosave of " + path
                                             : "cannot recover the autosave: " + error);
    ImGui::CloseCurrentPopup();
  }
  ImGui::SameLine();
  if (promptButton("Discard", kDiscardAutosave, input, prompts_.recoverKeys)) {
    autosaver_.discard(path);
    say("discarded the autosave of " + path);
    ImGui::CloseCurrentPopup();
  }
  ImGui::EndPopup();
}

}  // namespace mdx::edit
