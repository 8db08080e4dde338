#include "edit/prompt_keys.h"

namespace mdx::edit {

PromptKeys::PromptKeys(int buttons, int accept, int cancel, bool hasField)
    : buttons_(buttons), accept_(accept), cancel_(cancel), hasField_(hasField) {
  open();
}

void PromptKeys::open() {
  focus_ = hasField_ ? kField : accept_;
}

int PromptKeys::press(PromptKey key) {
  switch (key) {
    case PromptKey::Enter:
      return focus_ == kField ? accept_ : focus_;
    case PromptKey::Escape:
      return cancel_;
    case PromptKey::Tab:
    case PromptKey::ShiftTab: {
      // The field (when there is one) comes before the buttons; the focus goes round.
      const int first = hasField_ ? kField : 0;
      const int count = buttons_ - first;
      const int step = key == PromptKey::Tab ? 1 : count - 1;
      focus_ = first + (focus_ - first + step) % count;
      return kNone;
    }
  }
  return kNone;
}

void PromptKeys::focusOn(int item) {
  if ((item == kField && hasField_) || (item >= 0 && item < buttons_)) focus_ = item;
}

}  // namespace mdx::edit
