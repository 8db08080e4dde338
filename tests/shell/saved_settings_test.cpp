// Remembered settings: their text, the dialog preset with them and then with the command line,
// what is saved after Play (never a command-line choice), and the file on disk.
#include "app/saved_settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace mdx::app {
namespace {

namespace fs = std::filesystem;

TEST(SettingsText, ReadsWhatItWritesAndSkipsBadLinesWithANote) {
  std::vector<std::string> notes;
  const SavedSettings s = parseSettings(
      "[marvolen]\r\ndisplay=1\nwindowed=0\nsound=no\npack=my = pack \xC3\xA9\nscale=3\n"
      "scale=17\nscale=-1\ndisplay=x\ncolour=blue\nno equals here\nwindowed=maybe\n# note\n",
      notes);
  EXPECT_EQ(s.display, 1);
  EXPECT_EQ(s.windowed, false);
  EXPECT_EQ(s.sound, false);
  EXPECT_EQ(s.pack, "my = pack \xC3\xA9");
  EXPECT_EQ(s.scale, 3);  // later bad lines leave the good value before them
  EXPECT_EQ(notes.size(), 6u);

  // A broken line is quoted with what a terminal would act on escaped, UTF-8 letters kept.
  notes.clear();
  parseSettings(std::string("colour=\x1B]0;\xFF\0\xC3\xA9\\", 16), notes);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "line 1 ignored: \"colour=\\x1B]0;\\xFF\\x00\xC3\xA9\\\\\"");

  SavedSettings full = s;
  full.scale = 2;
  std::vector<std::string> none;
  const SavedSettings again = parseSettings(settingsText(full), none);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(settingsText(again), settingsText(full));
  EXPECT_EQ(again.scale, 2);
}

TEST(SettingsText, KeepsThePlayersKeysAsWrittenAndSavesThemAgainAfterPlay) {
  std::vector<std::string> notes;
  const SavedSettings s =
      parseSettings("scale=2\nkey.left=A\npad.drop=x\nkey.jump=Z\nkey.right=No such key\n", notes);
  ASSERT_EQ(notes.size(), 1u);  // only the unknown command; names are checked in the game
  EXPECT_EQ(notes[0], "line 4 ignored: \"key.jump=Z\"");
  EXPECT_EQ(settingsText(s),
            "[marvolen]\nscale=2\nkey.left=A\nkey.right=No such key\npad.drop=x\n");

  const SavedSettings toSave =
      settingsToSave(world::Options{}, {}, s, CommandLine{}, 2);  // the dialog's Play
  EXPECT_EQ(keyChoiceLines(toSave.keys), keyChoiceLines(s.keys));
}

TEST(SettingsText, NotesQuoteBadLinesWithUnreadableBytesEscaped) {
  std::vector<std::string> notes;
  parseSettings("scale=\x1b[2J\xff\"\\ caf\xC3\xA9\n", notes);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "line 1 ignored: \"scale=\\x1B[2J\\xFF\\\"\\\\ caf\xC3\xA9\"");
}

class SettingsWithDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) /
            ("settings-" + std::to_string(getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
    std::ofstream(root_ / "mappacks.ini", std::ios::binary) << "mappack1\nmappack2\nmappack3";
    dialog.open(std::vector<std::string>{"One", "Two"}, world::readPackCatalog(root_.string(), ""));
  }
  void TearDown() override { fs::remove_all(root_); }
  world::Options options;
  world::RecordingMessageBoxes messages;
  StartupDialog dialog{options, &messages};
  std::vector<std::string> notes;
  std::function<void(const std::string&)> note = [this](const std::string& n) {
    notes.push_back(n);
  };
  fs::path root_;
};

TEST_F(SettingsWithDialog, SavedChoicesPresetTheDialogAndTheCommandLineWinsUnsaved) {
  SavedSettings saved;
  saved.display = 1;
  saved.windowed = false;
  saved.sound = false;
  saved.pack = "mappack3";
  saved.scale = 2;
  presetSavedSettings(dialog, saved, note);
  EXPECT_EQ(options.adapterIndex, 1u);
  EXPECT_EQ(options.windowed, 0);
  EXPECT_EQ(options.soundEnabled, 0);
  EXPECT_EQ(options.packIndex, 2);

  // This run plays windowed on mappack2 from the command line...
  CommandLine line;
  line.windowed = true;
  line.pack = "mappack2";
  line.scale = 4;
  ASSERT_EQ(presetDialog(dialog, options, line), "");
  EXPECT_EQ(options.windowed, 1);
  EXPECT_EQ(options.packIndex, 1);
  // ...and the player switches the sound on in the dialog, which is remembered.
  dialog.setSoundChecked(true);
  const SavedSettings next = settingsToSave(options, dialog.controls.packList, saved, line, 4);
  EXPECT_EQ(next.windowed, false);
  EXPECT_EQ(next.pack, "mappack3");
  EXPECT_EQ(next.scale, 2);
  EXPECT_EQ(next.sound, true);
  EXPECT_EQ(next.display, 1);

  // Without command-line options every choice of the dialog is saved.
  const SavedSettings plain = settingsToSave(options, dialog.controls.packList, saved, {}, 3);
  EXPECT_EQ(plain.windowed, true);
  EXPECT_EQ(plain.pack, "mappack2");
  EXPECT_EQ(plain.scale, 3);
}

TEST_F(SettingsWithDialog, ChoicesNoLongerOfferedLeaveTheDefaultsWithANoteEach) {
  SavedSettings saved;
  saved.display = 5;
  saved.pack = "gone\x1B[2J";
  presetSavedSettings(dialog, saved, note);
  EXPECT_EQ(options.adapterIndex, 0u);
  EXPECT_EQ(options.packIndex, 0);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_NE(notes[0].find("display=5"), std::string::npos) << notes[0];
  EXPECT_NE(notes[1].find("pack=gone\\x1B[2J"), std::string::npos) << notes[1];
  EXPECT_NE(notes[1].find("mappack1 is used"), std::string::npos) << notes[1];
}

TEST_F(SettingsWithDialog, FileRoundTripAndForgettingAndBadFiles) {
  const std::string path = (root_ / "config" / "marvolen-dx" / "settings.ini").string();
  EXPECT_FALSE(loadSettings(path, note).pack.has_value());  // missing: no settings, no note
  EXPECT_TRUE(notes.empty());
  SavedSettings s;
  s.pack = "mappack2";
  s.windowed = true;
  ASSERT_TRUE(saveSettings(path, s, note));
  EXPECT_EQ(loadSettings(path, note).pack, "mappack2");
  forgetSettings(path, note);
  EXPECT_FALSE(fs::exists(path));
  forgetSettings(path, note);  // already gone: fine
  EXPECT_TRUE(notes.empty());

  // A folder at the path, and a disk that is full: a note each, the defaults, nothing lost.
  fs::create_directories(path);
  EXPECT_FALSE(loadSettings(path, note).windowed.has_value());
  EXPECT_EQ(notes.size(), 1u);
  fs::remove(path);
  ASSERT_TRUE(saveSettings(path, s, note));
  const auto full = [](int, const void*, std::size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  SavedSettings other;
  other.pack = "mappack3";
  EXPECT_FALSE(saveSettings(path, other, note, full));
  EXPECT_EQ(loadSettings(path, note).pack, "mappack2");
  EXPECT_EQ(notes.size(), 2u);
}

// A resized window is remembered at exit with the file's other settings kept; an unchanged
// scale writes nothing (no file appears), and a scale past the largest is saved as the largest.
TEST_F(SettingsWithDialog, AResizedWindowScaleIsRememberedAtExit) {
  const std::string path = (root_ / "settings.ini").string();
  rememberWindowScale(path, 2, 2, note);
  EXPECT_FALSE(fs::exists(path));
  SavedSettings s;
  s.pack = "mappack2";
  s.scale = 2;
  ASSERT_TRUE(saveSettings(path, s, note));
  rememberWindowScale(path, 2, 3, note);
  const SavedSettings after = loadSettings(path, note);
  EXPECT_EQ(after.scale, 3);
  EXPECT_EQ(after.pack, "mappack2");
  rememberWindowScale(path, 3, kMaxScale + 5, note);
  EXPECT_EQ(loadSettings(path, note).scale, kMaxScale);
  EXPECT_TRUE(notes.empty());
}

TEST_F(SettingsWithDialog, KeysFromTheKeysPageReplaceTheFilesKeysAndKeepTheRest) {
  const std::string path = (root_ / "settings.ini").string();
  std::ofstream(path) << "[marvolen]\nscale=2\nkey.left=Nonsense\npad.drop=x\n";
  KeyChoices chosen;
  chosen.keys[kCommandRight] = "D";
  chosen.pads[kCommandDrop] = "y";  // the page changes no pad buttons
  rememberKeys(path, chosen, note);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "[marvolen]\nscale=2\nkey.right=D\npad.drop=x\n");
  EXPECT_TRUE(notes.empty());
}

}  // namespace
}  // namespace mdx::app
