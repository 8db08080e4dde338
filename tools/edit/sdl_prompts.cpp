#include "edit/sdl_prompts.h"

#include <imgui.h>
#include <imgui_internal.h>

namespace mdx::edit {

bool beginPrompt(const char* title, float width) {
  const ImGuiViewport* screen = ImGui::GetMainViewport();
  ImGui::SetNextWindowPos(ImVec2(screen->WorkPos.x + screen->WorkSize.x / 2,
                                 screen->WorkPos.y + screen->WorkSize.y / 2),
                          ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
  ImGui::SetNextWindowSize(ImVec2(width, 0));
  return ImGui::BeginPopupModal(title, nullptr, ImGuiWindowFlags_NoResize);
}

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

void promptField(const char* id, char* text, size_t size, PromptKeys& keys,
                 const PromptInput& input) {
  if (keys.focus() == PromptKeys::kField && input.focusMoved) ImGui::SetKeyboardFocusHere();
  ImGui::SetNextItemWidth(kPromptFieldWidth);
  ImGui::PushItemFlag(ImGuiItemFlags_NoTabStop, true);  // Tab is the prompt's own
  ImGui::InputText(id, text, size, ImGuiInputTextFlags_AutoSelectAll);
  ImGui::PopItemFlag();
  if (ImGui::IsItemClicked()) keys.focusOn(PromptKeys::kField);
  if (keys.focus() != PromptKeys::kField && ImGui::IsItemActive()) ImGui::ClearActiveID();
}

bool promptButton(const char* label, int index, const PromptInput& input, const PromptKeys& keys) {
  const bool clicked = ImGui::Button(label);
  if (keys.focus() == index) {
    ImGui::GetWindowDrawList()->AddRect(ImGui::GetItemRectMin(), ImGui::GetItemRectMax(),
                                        ImGui::GetColorU32(ImGuiCol_NavHighlight), 0, 0, 2);
  }
  return clicked || input.chosen == index;
}

std::string lastItemPlace() {
  const ImVec2 low = ImGui::GetItemRectMin();
  const ImVec2 high = ImGui::GetItemRectMax();
  return std::to_string(static_cast<int>((low.x + high.x) / 2)) + " " +
         std::to_string(static_cast<int>((low.y + high.y) / 2));
}

}  // namespace mdx::edit
