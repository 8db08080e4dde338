#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli_options.h"
#include "app/dialog_model.h"
#include "world/pack_catalog.h"

namespace mdx::app {
namespace {

namespace fs = std::filesystem;
using world::RecordingMessageBoxes;

const std::vector<std::string> kDisplays = {"Display One", "Display Two"};

// A temporary data folder with a mappacks.ini of the given bytes, and a player's pack folder.
class DialogFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::path(::testing::TempDir()) /
        ("dialog-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "packs");
  }
  void TearDown() override { fs::remove_all(root_); }
  void writePacks(const std::string& bytes) {
    std::ofstream(root_ / "mappacks.ini", std::ios::binary) << bytes;
  }
  // The catalogue the game reads from the folder.
  world::PackCatalog packs() const {
    return world::readPackCatalog(root_.string(), (root_ / "packs").string());
  }
  std::string folder(const std::string& name) const { return (root_ / name).string(); }

  world::Options options;
  RecordingMessageBoxes messages;
  StartupDialog dialog{options, &messages};

 private:
  fs::path root_;
};

TEST_F(DialogFolder, OpensWindowedWithSoundOnTheFirstDisplayAndPack) {
  writePacks("mappack1\nmappack2");
  dialog.open(kDisplays, packs());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(options.windowed, 1);
  EXPECT_EQ(options.soundEnabled, 1);
  EXPECT_EQ(options.blocks3D, 0);
  EXPECT_EQ(options.adapterIndex, 0u);
  EXPECT_EQ(options.packIndex, 0);
  // The list is read into packName line by line, so it holds the last line until the device
  // set-up settles it from packIndex.
  EXPECT_EQ(options.packName, "mappack2");
  EXPECT_EQ(dialog.controls.adapterList, kDisplays);
  EXPECT_EQ(dialog.controls.adapterSelection, 0);
  EXPECT_EQ(dialog.controls.packSelection, 0);
  EXPECT_TRUE(dialog.controls.windowedChecked);
  EXPECT_FALSE(dialog.controls.fullScreenChecked);
  EXPECT_TRUE(dialog.controls.soundChecked);
  EXPECT_FALSE(dialog.ended());

  dialog.command(kIdPlay);
  EXPECT_EQ(dialog.result, kDialogPlay);
  settlePackName(options, packs());
  EXPECT_EQ(options.packName, "mappack1");
}

TEST_F(DialogFolder, EmptyLinesListNoPackAndAnEmptyListKeepsTheDefaultPack) {
  writePacks("mappack1\n");
  dialog.open(kDisplays, packs());
  EXPECT_EQ(dialog.controls.packList, (std::vector<std::string>{"mappack1"}));
  EXPECT_EQ(options.packName, "mappack1");

  writePacks("");
  world::Options fresh;
  StartupDialog again(fresh, &messages);
  again.open(kDisplays, packs());
  EXPECT_TRUE(again.controls.packList.empty());
  again.command(kIdPlay);
  settlePackName(fresh, packs());
  EXPECT_EQ(fresh.packName, "mappack1");
}

TEST_F(DialogFolder, MissingPackListIsReportedAndTheDialogStillOpens) {
  dialog.open(kDisplays, packs());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Error opening file MAPPACKS.INI");
  EXPECT_EQ(messages.shown[0].caption, "Critical Error");
  EXPECT_EQ(messages.shown[0].icon, world::MessageIcon::Error);
  EXPECT_TRUE(dialog.controls.packList.empty());
  EXPECT_EQ(dialog.controls.packSelection, -1);
  EXPECT_EQ(options.packName, "mappack1");
  // No line has index -1, so the pack name stays as it was.
  EXPECT_EQ(options.packIndex, -1);
  EXPECT_EQ(options.windowed, 1);
  dialog.selectPack(0);  // nothing to choose
  EXPECT_EQ(options.packIndex, -1);
}

TEST_F(DialogFolder, WithoutDisplaysTheOptionsKeepTheirStartValues) {
  writePacks("mappack1\n");
  dialog.open(std::nullopt, packs());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Cannot find the displays of this computer");
  EXPECT_EQ(messages.shown[0].caption, "MarvolenDX: Error");
  EXPECT_TRUE(dialog.controls.adapterList.empty());
  EXPECT_TRUE(dialog.controls.packList.empty());
  EXPECT_FALSE(dialog.controls.windowedChecked || dialog.controls.fullScreenChecked ||
               dialog.controls.soundChecked);
  EXPECT_EQ(options.windowed, 0);
  EXPECT_EQ(options.soundEnabled, 0);
  EXPECT_EQ(options.packIndex, 1);
  EXPECT_EQ(options.packName, "mappack1");
  dialog.enterKey(kIdPlay);
  EXPECT_EQ(dialog.result, kDialogPlay);
}

TEST_F(DialogFolder, EachControlSetsItsOption) {
  writePacks("a\nb\nc");
  dialog.open(kDisplays, packs());
  dialog.command(kIdFullScreen);
  EXPECT_EQ(options.windowed, 0);
  EXPECT_TRUE(dialog.controls.fullScreenChecked);
  EXPECT_FALSE(dialog.controls.windowedChecked);
  dialog.command(kIdWindowed);
  EXPECT_EQ(options.windowed, 1);
  EXPECT_TRUE(dialog.controls.windowedChecked);
  EXPECT_FALSE(dialog.controls.fullScreenChecked);

  dialog.setSoundChecked(false);
  EXPECT_EQ(options.soundEnabled, 0);
  dialog.setSoundChecked(true);
  EXPECT_EQ(options.soundEnabled, 1);
  dialog.setBlocks3DChecked(true);
  EXPECT_EQ(options.blocks3D, 1);

  dialog.selectAdapter(1);
  EXPECT_EQ(options.adapterIndex, 1u);
  dialog.selectAdapter(5);  // not in the list
  EXPECT_EQ(options.adapterIndex, 1u);
  dialog.selectPack(2);
  EXPECT_EQ(options.packIndex, 2);
  EXPECT_FALSE(dialog.command(1005));  // the hidden label has no behaviour
  EXPECT_FALSE(dialog.ended());
}

TEST_F(DialogFolder, EscCloseBoxAndExitEndWithExitEnterWithPlay) {
  writePacks("mappack1");
  for (int id : {int{kIdCancel}, int{kIdExit}}) {
    StartupDialog d(options, &messages);
    d.open(kDisplays, packs());
    d.command(id);
    EXPECT_EQ(d.result, kDialogExit) << id;
  }
  for (int focus : {int{kIdPlay}, int{kIdWindowed}, int{kIdPackList}, 0}) {
    StartupDialog d(options, &messages);
    d.open(kDisplays, packs());
    d.enterKey(focus);
    EXPECT_EQ(d.result, kDialogPlay) << focus;
  }
  StartupDialog onExit(options, &messages);
  onExit.open(kDisplays, packs());
  onExit.enterKey(kIdExit);
  EXPECT_EQ(onExit.result, kDialogExit);
}

TEST_F(DialogFolder, CommandLinePresetsActLikeTheControls) {
  writePacks("mappack1\nmappack2\n");
  dialog.open(kDisplays, packs());
  CommandLine line;
  line.windowed = false;
  line.noSound = true;
  line.pack = "mappack2";
  line.blocks3D = true;
  EXPECT_EQ(presetDialog(dialog, options, line), "");
  EXPECT_EQ(options.blocks3D, 1);
  EXPECT_EQ(options.windowed, 0);
  EXPECT_TRUE(dialog.controls.fullScreenChecked);
  EXPECT_EQ(options.soundEnabled, 0);
  EXPECT_FALSE(dialog.controls.soundChecked);
  EXPECT_EQ(options.packIndex, 1);
  EXPECT_EQ(dialog.controls.packSelection, 1);
}

// After the dialog the chosen entry names the pack; without the list, or for an index past
// its end, the dialog's pack name stays.
TEST_F(DialogFolder, PackIsSettledFromTheCatalogueAfterTheDialog) {
  writePacks("first\nsnd\n");
  options.packIndex = 1;
  options.packName = "first";
  settlePackName(options, packs());
  EXPECT_EQ(options.packName, "snd");

  options.packIndex = 3;
  settlePackName(options, packs());
  EXPECT_EQ(options.packName, "snd");

  options.packIndex = 0;
  settlePackName(options, world::PackCatalog{});
  EXPECT_EQ(options.packName, "snd");
}

// The player's own packs follow the shipped ones, marked, and are chosen like them: from the
// list, by --pack and by the remembered name.
TEST_F(DialogFolder, ThePlayersOwnPacksAreListedMarkedAndPlayable) {
  writePacks("mappack1\n");
  fs::create_directories(folder("packs/mine"));
  std::ofstream(folder("packs/mine/pref.ini")) << "levels\n1\n";
  dialog.open(kDisplays, packs());
  EXPECT_EQ(dialog.controls.packList, (std::vector<std::string>{"mappack1", "mine"}));
  const std::vector<std::string> labels = dialog.packLabels();
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0], "mappack1");
  EXPECT_NE(labels[1], "mine");
  EXPECT_EQ(labels[1].rfind("mine", 0), 0u);
  CommandLine line;
  line.pack = "mine";
  EXPECT_EQ(presetDialog(dialog, options, line), "");
  EXPECT_EQ(options.packIndex, 1);
  settlePackName(options, dialog.catalog);
  EXPECT_EQ(options.packName, "mine");
  EXPECT_EQ(dialog.catalog.layoutOf(options.packName).levelPath(1),
            folder("packs/mine/level01.dat"));
}

// The list shows the packs' own names, a folder only where two names clash; what is chosen,
// remembered and given to --pack stays the folder's name.
TEST_F(DialogFolder, PacksAreListedByTheirNamesWithTheFolderOnlyWhereTwoClash) {
  writePacks("mappack1\nmappack2\nplain");
  for (const char* shipped : {"mappack1", "mappack2"}) fs::create_directories(folder(shipped));
  std::ofstream(folder("mappack1/levels.ini")) << "[pack]\nname=The Machine Works\n";
  std::ofstream(folder("mappack2/levels.ini")) << "[pack]\nname=Fire and Ice\n";
  fs::create_directories(folder("packs/mine"));
  std::ofstream(folder("packs/mine/pref.ini")) << "levels\n1\n";
  std::ofstream(folder("packs/mine/levels.ini")) << "[pack]\nname=Fire and Ice\n";
  dialog.open(kDisplays, packs());
  EXPECT_EQ(dialog.packLabels(),
            (std::vector<std::string>{"The Machine Works", "Fire and Ice (mappack2)", "plain",
                                      "Fire and Ice (mine) (yours)"}));
  dialog.selectPack(1);
  settlePackName(options, dialog.catalog);
  EXPECT_EQ(options.packName, "mappack2");
}

TEST_F(DialogFolder, AnUnlistedPackFolderIsPlayedAndAMissingOneRefused) {
  writePacks("mappack1\n");
  fs::create_directories(folder("mypack"));
  dialog.open(kDisplays, packs());
  CommandLine line;
  line.pack = "mypack";
  EXPECT_EQ(presetDialog(dialog, options, line), "");
  EXPECT_EQ(dialog.controls.packList.back(), "mypack");
  EXPECT_EQ(options.packName, "mypack");
  // The device set-up settles the name from the list; the extra entry is no pack of it.
  settlePackName(options, dialog.catalog);
  EXPECT_EQ(options.packName, "mypack");

  line.pack = "nowhere";
  const std::string error = presetDialog(dialog, options, line);
  EXPECT_NE(error.find("nowhere"), std::string::npos);
  EXPECT_EQ(options.packName, "mypack");
}

}  // namespace
}  // namespace mdx::app
