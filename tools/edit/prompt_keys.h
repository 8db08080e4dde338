// The keyboard of the editor's prompts, apart from their drawing: a prompt has a text field
// (the file and pack prompts) or none (the unsaved-changes prompt) and a row of buttons. Tab
// and Shift+Tab move the focus round the field and the buttons, Enter takes the focused button
// (the prompt's default one from the text field) and Escape always takes the cancelling one.
#pragma once

namespace mdx::edit {

enum class PromptKey { Enter, Escape, Tab, ShiftTab };

class PromptKeys {
 public:
  static constexpr int kField = -1;  // focus() when the text field has the focus
  static constexpr int kNone = -1;   // press() when the key only moved the focus

  // buttons: how many, left to right; accept: the button Enter takes from the text field (and
  // the one focused first in a prompt without one); cancel: the button Escape takes.
  PromptKeys(int buttons, int accept, int cancel, bool hasField);

  // Called as the prompt opens: the focus goes to the text field, else to the accept button.
  void open();
  // The button the key chooses, or kNone.
  int press(PromptKey key);
  // Gives the focus to a button, or to the text field (kField) when the mouse clicks it.
  void focusOn(int item);
  int focus() const { return focus_; }

 private:
  int buttons_, accept_, cancel_;
  bool hasField_;
  int focus_ = kField;
};

}  // namespace mdx::edit
