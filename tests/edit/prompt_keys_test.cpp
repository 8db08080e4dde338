// The keys of the editor's prompts: Enter, Escape, Tab and Shift+Tab in a prompt with a text
// field (file name, pack folder) and in one with buttons only (unsaved changes).
#include "edit/prompt_keys.h"

#include <gtest/gtest.h>

namespace mdx::edit {
namespace {

constexpr int kOk = 0, kCancel = 1;                // the file prompt's buttons
constexpr int kSave = 0, kDiscard = 1, kKeep = 2;  // the unsaved-changes prompt's buttons

TEST(PromptKeys, EnterInTheFieldTakesTheDefaultAndEscapeCancelsFromAnywhere) {
  PromptKeys file(2, kOk, kCancel, true);
  EXPECT_EQ(file.focus(), PromptKeys::kField);
  EXPECT_EQ(file.press(PromptKey::Enter), kOk);
  EXPECT_EQ(file.press(PromptKey::Escape), kCancel);
  file.press(PromptKey::Tab);
  EXPECT_EQ(file.press(PromptKey::Escape), kCancel);
}

TEST(PromptKeys, TabGoesRoundFieldAndButtonsBothWaysAndEnterTakesTheFocusedOne) {
  PromptKeys file(2, kOk, kCancel, true);
  EXPECT_EQ(file.press(PromptKey::Tab), PromptKeys::kNone);
  EXPECT_EQ(file.focus(), kOk);
  file.press(PromptKey::Tab);
  EXPECT_EQ(file.focus(), kCancel);
  EXPECT_EQ(file.press(PromptKey::Enter), kCancel);
  file.press(PromptKey::Tab);
  EXPECT_EQ(file.focus(), PromptKeys::kField);
  file.press(PromptKey::ShiftTab);
  EXPECT_EQ(file.focus(), kCancel);
  file.press(PromptKey::ShiftTab);
  file.press(PromptKey::ShiftTab);
  EXPECT_EQ(file.focus(), PromptKeys::kField);
  // Opened again, the prompt starts in its field whatever had the focus before.
  file.press(PromptKey::Tab);
  file.open();
  EXPECT_EQ(file.focus(), PromptKeys::kField);
}

TEST(PromptKeys, AButtonsOnlyPromptStartsOnItsDefaultAndTabsRoundTheButtons) {
  PromptKeys unsaved(3, kSave, kKeep, false);
  EXPECT_EQ(unsaved.focus(), kSave);
  EXPECT_EQ(unsaved.press(PromptKey::Enter), kSave);
  unsaved.press(PromptKey::Tab);
  EXPECT_EQ(unsaved.press(PromptKey::Enter), kDiscard);
  unsaved.press(PromptKey::ShiftTab);
  unsaved.press(PromptKey::ShiftTab);
  EXPECT_EQ(unsaved.focus(), kKeep);    // round from the first button to the last
  unsaved.focusOn(PromptKeys::kField);  // it has no field: nothing moves
  EXPECT_EQ(unsaved.focus(), kKeep);
  EXPECT_EQ(unsaved.press(PromptKey::Escape), kKeep);
}

}  // namespace
}  // namespace mdx::edit
