// The editor window's prompts as ImGui draws them: a modal window in the middle of the editor,
// a text field and a row of buttons that follow the prompt's keys (edit/prompt_keys.h).
#pragma once

#include <cstddef>
#include <string>

#include "edit/prompt_keys.h"

namespace mdx::edit {

// The width of a prompt with a text field, and of the field.
constexpr float kPromptWidth = 640.0f;
constexpr float kPromptFieldWidth = 600.0f;

// Opens a prompt in the middle of the window at its width, its height fitted to what it holds
// from the first frame it shows. True while it is open: draw it, then ImGui::EndPopup().
bool beginPrompt(const char* title, float width);

// What this frame's keys did in a prompt: the button a key chose (or PromptKeys::kNone), and
// whether the focus moved (or the prompt just opened).
struct PromptInput {
  int chosen = PromptKeys::kNone;
  bool focusMoved = false;
};

// Hands this frame's Enter, Escape and Tab to the open prompt's keys (the editor has no ImGui
// keyboard navigation of its own).
PromptInput promptKeys(PromptKeys& keys);

// A prompt's text field: it takes the typing when the prompt's focus comes to it (or a click
// gives it the focus), and lets go of it when the focus goes to a button. It takes the focus
// with its whole text selected and the cursor at the end, so typing replaces the text and End
// or an arrow key keeps it.
void promptField(const char* id, char* text, size_t size, PromptKeys& keys,
                 const PromptInput& input);

// A prompt's button, framed while it has the keyboard's focus: true when clicked or chosen.
bool promptButton(const char* label, int index, const PromptInput& input, const PromptKeys& keys);

// "X Y": the middle of the item just drawn, in the window; the editor's log tells scripts where
// to click with it.
std::string lastItemPlace();

}  // namespace mdx::edit
