// The editor's model: painting, fills, the eyedropper, the piece list and look values, undo and
// redo, the dirty flag, opening and saving.
#include "edit/edit_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "base/files.h"
#include "edit/palette.h"
#include "level/level_checks.h"
#include "level/tool_commands.h"

namespace mdx::edit {
namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh folder per test process, removed at the end.
class TempFolder {
 public:
  TempFolder() : path_(fs::temp_directory_path() / ("mdx-edit-" + std::to_string(getpid()))) {
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

std::vector<std::string> shippedSources() {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(MDX_SOURCE_DIR "/levels/mappack1")) {
    if (entry.path().extension() == ".src") paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

int32_t cell(const world::LevelGrid& grid, int row, int column) {
  return grid[world::cellIndex(row, column)];
}

TEST(EditPainting, PaintAndEraseTouchOnlyTheBrushLayer) {
  EditModel model;
  model.paint(4, 6, {Layer::Blocks, 7});
  ASSERT_TRUE(model.paint(4, 6, {Layer::Devices, world::kExit}));
  EXPECT_EQ(cell(model.level().blockLayer, 4, 6), 7);
  EXPECT_EQ(cell(model.level().deviceLayer, 4, 6), world::kExit);
  ASSERT_TRUE(model.paint(4, 6, {Layer::Blocks, 0}));
  EXPECT_EQ(cell(model.level().blockLayer, 4, 6), 0);
  EXPECT_EQ(cell(model.level().deviceLayer, 4, 6), world::kExit);
  // Row 27 is never drawn but takes part in the rules, so it is editable too.
  EXPECT_TRUE(model.paint(27, 33, {Layer::Blocks, 1}));
  EXPECT_FALSE(model.paint(28, 0, {Layer::Blocks, 1}));
  EXPECT_FALSE(model.paint(0, -1, {Layer::Blocks, 1}));
}

TEST(EditPainting, RectangleFillTakesCornersInAnyOrderAndUndoesAsOneStep) {
  EditModel model;
  ASSERT_TRUE(model.fillRect(3, 10, 1, 8, {Layer::Blocks, 5}));
  int filled = 0;
  for (int32_t code : model.level().blockLayer) filled += code == 5;
  EXPECT_EQ(filled, 9);
  EXPECT_EQ(cell(model.level().blockLayer, 1, 8), 5);
  EXPECT_EQ(cell(model.level().blockLayer, 3, 10), 5);
  EXPECT_EQ(cell(model.level().blockLayer, 0, 9), 0);
  EXPECT_EQ(model.undoSteps(), 1u);
  model.undo();
  EXPECT_EQ(model.level().blockLayer, world::LevelGrid{});
}

TEST(EditPainting, AnEditThatChangesNothingIsNoUndoStep) {
  EditModel model;
  model.paint(2, 2, {Layer::Blocks, 3});
  EXPECT_FALSE(model.paint(2, 2, {Layer::Blocks, 3}));
  EXPECT_FALSE(model.paint(5, 5, {Layer::Devices, 0}));
  EXPECT_EQ(model.undoSteps(), 1u);
}

TEST(EditPainting, EyedropperPrefersTheDeviceThenTheBlock) {
  EditModel model;
  model.paint(9, 9, {Layer::Blocks, 12});
  Brush brush{Layer::Blocks, 1};
  ASSERT_TRUE(model.pick(9, 9, brush));
  EXPECT_EQ(brush.layer, Layer::Blocks);
  EXPECT_EQ(brush.code, 12);
  model.paint(9, 9, {Layer::Devices, world::kBomb});
  ASSERT_TRUE(model.pick(9, 9, brush));
  EXPECT_EQ(brush.layer, Layer::Devices);
  EXPECT_EQ(brush.code, world::kBomb);
  EXPECT_FALSE(model.pick(0, 0, brush));  // an empty cell leaves the brush as it was
  EXPECT_EQ(brush.code, world::kBomb);
  EXPECT_FALSE(model.pick(28, 0, brush));
}

TEST(EditPainting, TheRobotBrushMovesTheOneRobotAsOneUndoStep) {
  EditModel model;
  const Brush robot{Layer::Blocks, world::kRobot};
  ASSERT_TRUE(model.paint(10, 4, robot));
  model.paint(12, 20, {Layer::Blocks, 3});
  ASSERT_TRUE(model.paint(12, 20, robot));  // onto a block: the robot takes the cell
  // A drag puts the robot where it ends, not a rectangle of robots.
  ASSERT_TRUE(model.fillRect(2, 2, 5, 7, robot));
  EXPECT_EQ(
      std::count(model.level().blockLayer.begin(), model.level().blockLayer.end(), world::kRobot),
      1);
  EXPECT_EQ(cell(model.level().blockLayer, 5, 7), world::kRobot);
  EXPECT_EQ(cell(model.level().blockLayer, 10, 4), 0);
  EXPECT_EQ(level::ruleWarnings(model.level()).size(),
            level::ruleWarnings(level::LevelSource{}).size() - 1);  // only the exit is missing
  model.undo();
  EXPECT_EQ(cell(model.level().blockLayer, 12, 20), world::kRobot);
  EXPECT_EQ(cell(model.level().blockLayer, 5, 7), 0);
  model.undo();
  EXPECT_EQ(cell(model.level().blockLayer, 12, 20), 3);  // the block it stood on is back
  EXPECT_EQ(cell(model.level().blockLayer, 10, 4), world::kRobot);
}

TEST(EditPieces, ListHoldsZeroToTenPiecesInOrder) {
  EditModel model;
  for (int32_t type = 1; type <= 5; ++type) ASSERT_TRUE(model.addPiece(type));
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(model.addPiece(2));
  EXPECT_FALSE(model.addPiece(1));  // an eleventh piece
  EXPECT_FALSE(model.addPiece(0));
  EXPECT_EQ(model.level().pieceCount, 10);

  ASSERT_TRUE(model.removePiece(1));  // 1 3 4 5 2 2 2 2 2
  EXPECT_EQ(model.level().pieceCount, 9);
  EXPECT_EQ(model.level().pieceTypes[1], 3);
  EXPECT_EQ(model.level().pieceTypes[9], 0);
  ASSERT_TRUE(model.movePiece(0, 1));  // 3 1 4 ...
  EXPECT_EQ(model.level().pieceTypes[0], 3);
  EXPECT_EQ(model.level().pieceTypes[1], 1);
  EXPECT_FALSE(model.movePiece(0, -1));
  EXPECT_FALSE(model.movePiece(8, 1));
  EXPECT_FALSE(model.removePiece(9));
  EXPECT_TRUE(model.setPieceType(8, 5));
  EXPECT_FALSE(model.setPieceType(0, 6));
  while (model.level().pieceCount > 0) ASSERT_TRUE(model.removePiece(0));
  EXPECT_FALSE(model.removePiece(0));
}

TEST(EditPieces, LookValuesAreEditedAndUndone) {
  EditModel model;
  ASSERT_TRUE(model.setValue(LookValue::LevelMusic, 3));
  ASSERT_TRUE(model.setValue(LookValue::Parallax2Mode, 2));
  EXPECT_EQ(model.level().levelMusic, 3);
  EXPECT_EQ(model.value(LookValue::Parallax2Mode), 2);
  EXPECT_FALSE(model.setValue(LookValue::LevelMusic, 3));
  model.undo();
  EXPECT_EQ(model.level().parallax2Mode, 0);
  EXPECT_EQ(model.level().levelMusic, 3);
}

TEST(EditHistory, KeepsTheNewestStepsUpToItsLimit) {
  static_assert(kUndoLimit >= 200);
  EditModel model;
  const int edits = static_cast<int>(kUndoLimit) + 50;
  std::vector<world::LevelGrid> after;
  for (int i = 0; i < edits; ++i) {
    ASSERT_TRUE(model.paint(i / world::kColumns, i % world::kColumns, {Layer::Blocks, 1 + i % 61}));
    after.push_back(model.level().blockLayer);
  }
  for (size_t i = 0; i < kUndoLimit; ++i) ASSERT_TRUE(model.undo());
  EXPECT_FALSE(model.undo());
  EXPECT_EQ(model.level().blockLayer, after[edits - 1 - kUndoLimit]);
  for (size_t i = 0; i < kUndoLimit; ++i) ASSERT_TRUE(model.redo());
  EXPECT_FALSE(model.redo());
  EXPECT_EQ(model.level().blockLayer, after.back());
}

TEST(EditHistory, ANewEditForgetsTheRedoSteps) {
  EditModel model;
  model.paint(1, 1, {Layer::Blocks, 1});
  model.paint(1, 2, {Layer::Blocks, 1});
  model.undo();
  EXPECT_EQ(model.redoSteps(), 1u);
  model.paint(5, 5, {Layer::Blocks, 2});
  EXPECT_EQ(model.redoSteps(), 0u);
  EXPECT_FALSE(model.redo());
  EXPECT_EQ(cell(model.level().blockLayer, 1, 2), 0);
}

TEST(EditHistory, DirtyFollowsTheDifferenceFromTheSavedLevel) {
  TempFolder folder;
  EditModel model;
  EXPECT_FALSE(model.dirty());
  const uint64_t before = model.revision();
  model.paint(3, 3, {Layer::Blocks, 4});
  EXPECT_TRUE(model.dirty());
  EXPECT_NE(model.revision(), before);
  model.undo();
  EXPECT_FALSE(model.dirty());  // back where it started
  model.redo();
  std::string error;
  EXPECT_FALSE(model.save(error));  // a new level has no file yet
  ASSERT_TRUE(model.saveAs(folder.file("new.src"), error)) << error;
  EXPECT_FALSE(model.dirty());
  model.undo();
  EXPECT_TRUE(model.dirty());  // the saved level had the block
}

TEST(EditFiles, ShippedLevelsSavedUnchangedAreByteIdentical) {
  TempFolder folder;
  for (const std::string& path : shippedSources()) {
    EditModel model;
    std::string error;
    ASSERT_TRUE(model.open(path, error)) << error;
    // An edit saved and then taken back leaves the level as opened.
    model.paint(0, 0, {Layer::Devices, world::kBomb});
    ASSERT_TRUE(model.saveAs(folder.file("copy.src"), error)) << error;
    EXPECT_NE(readAll(folder.file("copy.src")), readAll(path)) << path;
    EditModel edited;
    ASSERT_TRUE(edited.open(folder.file("copy.src"), error)) << error;
    EXPECT_TRUE(sameLevel(edited.level(), model.level())) << path;
    model.undo();
    ASSERT_TRUE(model.save(error)) << error;
    EXPECT_EQ(readAll(folder.file("copy.src")), readAll(path)) << path;
  }
}

// Opens a copy of map pack 1's level 7 in folder; returns the copy's path.
std::string openShippedCopy(TempFolder& folder, EditModel& model) {
  const std::string path = folder.file("level.src");
  fs::copy_file(MDX_SOURCE_DIR "/levels/mappack1/level07.src", path);
  std::string error;
  EXPECT_TRUE(model.open(path, error)) << error;
  return path;
}

TEST(EditFiles, AnEditedLevelReadsBackAsSavedAndKeepsItsTitle) {
  TempFolder folder;
  EditModel model;
  const std::string path = openShippedCopy(folder, model);
  std::string error;
  model.paint(12, 30, {Layer::Devices, world::kBomb});
  model.addPiece(5);
  ASSERT_TRUE(model.save(error)) << error;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.file("")), fs::directory_iterator()), 1)
      << "no temporary file beside the saved level";
  EditModel reopened;
  ASSERT_TRUE(reopened.open(path, error)) << error;
  EXPECT_TRUE(sameLevel(reopened.level(), model.level()));
  EXPECT_EQ(readAll(path).rfind("name Conveyor\n", 0), 0u);
}

// A hand-written source: a title, comments between the statements and after the maps, a
// legend of its own, a note after a map row and a cell-table entry.
std::string handWrittenSource() {
  std::string text =
      "# Level 40: Green field\n# The robot walks the lawn.\n\npieces lift\nlevelMusic 2\n"
      "# grass and the roof\nchar block g 1\nchar block # 24\nblocks\n";
  for (int row = 0; row < world::kRows; ++row) {
    std::string cells = row == 20 ? std::string(34, 'g') : std::string(34, '.');
    if (row == 19) cells[2] = '@';
    if (row == 5) cells.replace(10, 4, "####");
    if (row == 8) cells[3] = '?';
    text += cells + (row == 5 ? "   the roof\n" : "\n");
  }
  text += "devices\n";
  for (int row = 0; row < world::kRows; ++row) {
    text += row == 19 ? std::string(30, '.') + "E..." + "\n" : std::string(34, '.') + "\n";
  }
  return text + "cell block 8 3 70\n# the end\n";
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(EditFiles, AnEditedSourceKeepsItsCommentsLegendAndNotes) {
  TempFolder folder;
  const std::string path = folder.file("green.src");
  const std::string original = handWrittenSource();
  std::ofstream(path, std::ios::binary) << original;
  EditModel model;
  std::string error;
  ASSERT_TRUE(model.open(path, error)) << error;
  model.paint(5, 20, {Layer::Blocks, 24});  // the source's own '#'
  model.paint(21, 0, {Layer::Blocks, 1});   // its 'g'
  model.paint(21, 1, {Layer::Blocks, 30});  // a code it has no character for yet
  model.paint(8, 3, {Layer::Blocks, 0});    // the cell-table cell emptied
  model.setValue(LookValue::LevelMusic, 3);
  model.addPiece(2);
  ASSERT_TRUE(model.save(error)) << error;

  EditModel reopened;
  ASSERT_TRUE(reopened.open(path, error)) << error;
  EXPECT_TRUE(sameLevel(reopened.level(), model.level()));
  // Only the edited rows and values are written anew; every other line stays in its place.
  std::vector<std::string> expected = linesOf(original);
  const int firstRow = 9;
  expected[3] = "pieces lift pillar";
  expected[4] = "levelMusic 3";
  expected[firstRow + 5] =
      std::string(10, '.') + "####......#" + std::string(13, '.') + "   the roof";
  expected[firstRow + 8] = std::string(34, '.');
  expected[firstRow + 21] = "gU" + std::string(32, '.');
  expected.erase(expected.end() - 2);                        // no cell-table cell is left
  expected.insert(expected.begin() + 8, "char block U 30");  // after the source's own entries
  EXPECT_EQ(linesOf(readAll(path)), expected);
}

TEST(EditFiles, ALevelFileIsSavedAsASourceBesideIt) {
  TempFolder folder;
  level::LevelSource level;
  level.blockLayer[world::cellIndex(5, 7)] = world::kRobot;
  level.pieceCount = 1;
  level.pieceTypes[0] = 2;
  std::string error;
  ASSERT_TRUE(
      mdx::base::writeFileSafely(folder.file("level05.dat"), level::writeDat(level), error));
  EditModel model;
  ASSERT_TRUE(model.open(folder.file("level05.dat"), error)) << error;
  EXPECT_EQ(model.path(), folder.file("level05.src"));
  ASSERT_TRUE(model.save(error)) << error;
  EXPECT_EQ(readAll(folder.file("level05.dat")), level::writeDat(level));
  EditModel source;
  ASSERT_TRUE(source.open(folder.file("level05.src"), error)) << error;
  EXPECT_TRUE(sameLevel(source.level(), level));
}

// A level-file line with text after its number ("5 abc") keeps that text only while the
// number stays: an edited cell is written as its new number, in the level file the proof and
// the play-test use and in the saved source.
TEST(EditFiles, AnEditedValueDropsItsLinesOldText) {
  TempFolder folder;
  level::LevelSource level;
  level.blockLayer[world::cellIndex(5, 7)] = world::kRobot;
  level.blockLayer[world::cellIndex(9, 9)] = 5;
  level.rawValues[level::kBlockFirstLine + world::cellIndex(9, 9)] = "5 abc";
  level.rawValues[level::kBlockFirstLine + world::cellIndex(9, 10)] = "0 kept";
  std::string error;
  ASSERT_TRUE(mdx::base::writeFileSafely(folder.file("odd.dat"), level::writeDat(level), error));
  EditModel model;
  ASSERT_TRUE(model.open(folder.file("odd.dat"), error)) << error;
  ASSERT_EQ(model.level().rawValues.size(), 2u);
  model.paint(9, 9, {Layer::Blocks, 7});
  const std::string dat = level::writeDat(model.level());
  EXPECT_NE(dat.find("\n7\n"), std::string::npos);
  EXPECT_EQ(dat.find("5 abc"), std::string::npos);
  EXPECT_NE(dat.find("0 kept"), std::string::npos);
  ASSERT_TRUE(model.save(error)) << error;
  EditModel reopened;
  ASSERT_TRUE(reopened.open(folder.file("odd.src"), error)) << error;
  EXPECT_EQ(cell(reopened.level().blockLayer, 9, 9), 7);
  EXPECT_TRUE(model.undo());
  EXPECT_NE(level::writeDat(model.level()).find("5 abc"), std::string::npos);
}

TEST(EditFiles, ABrokenFileLeavesTheCurrentLevelAlone) {
  TempFolder folder;
  std::ofstream(folder.file("broken.src")) << "pieces lift\nblocks\n...\n";
  EditModel model;
  model.paint(1, 1, {Layer::Blocks, 9});
  std::string error;
  EXPECT_FALSE(model.open(folder.file("broken.src"), error));
  EXPECT_NE(error.find("broken.src"), std::string::npos) << error;
  EXPECT_FALSE(model.open(folder.file("missing.src"), error));
  EXPECT_EQ(cell(model.level().blockLayer, 1, 1), 9);
  EXPECT_TRUE(model.undo());
}

// The name, idea and hint are edited like any value: one undo step each, marked unsaved,
// refused when they do not fit, and saved into the source in place of the old lines.
TEST(EditFiles, WordsAreEditedUndoneAndSavedIntoTheSource) {
  TempFolder folder;
  EditModel model;
  const std::string path = openShippedCopy(folder, model);
  std::string error;
  const world::LevelMeta shipped = model.level().meta;
  EXPECT_EQ(shipped.name, "Conveyor");
  const world::LevelMetaField& hint = *world::findLevelMetaField("hint");
  const world::LevelMetaField& name = *world::findLevelMetaField("name");
  EXPECT_FALSE(model.setWord(name, std::string(40, 'x'), error));
  EXPECT_EQ(error, "the name has 40 characters, at most 28 fit");
  EXPECT_FALSE(model.setWord(hint, "two\nlines", error));
  EXPECT_FALSE(model.dirty());
  ASSERT_TRUE(model.setWord(hint, "Ride the belt.", error)) << error;
  ASSERT_TRUE(model.setWord(name, "", error)) << error;
  EXPECT_TRUE(model.dirty());
  EXPECT_FALSE(model.setWord(hint, "Ride the belt.", error)) << "no change, no step";
  ASSERT_TRUE(model.undo());
  EXPECT_EQ(model.level().meta.name, "Conveyor");
  ASSERT_TRUE(model.save(error)) << error;

  EditModel reopened;
  ASSERT_TRUE(reopened.open(path, error)) << error;
  EXPECT_EQ(reopened.level().meta.hint, "Ride the belt.");
  EXPECT_EQ(reopened.level().meta.idea, shipped.idea);
  EXPECT_EQ(linesOf(readAll(path))[2], "hint Ride the belt.");
}

TEST(EditPalette, HoldsEveryPictureAndFindsByName) {
  std::set<int32_t> blocks, devices;
  for (const PaletteEntry& entry : palette()) {
    (entry.brush.layer == Layer::Blocks ? blocks : devices).insert(entry.brush.code);
  }
  for (int32_t code = 1; code <= 61; ++code) EXPECT_TRUE(blocks.count(code)) << code;
  for (int32_t code = 1; code <= 13; ++code) EXPECT_TRUE(devices.count(code)) << code;
  EXPECT_TRUE(blocks.count(world::kRobot));
  EXPECT_EQ(searchPalette("LIFT").size(), 3u);
  // The conveyors that move, and the still pictures of them.
  EXPECT_EQ(searchPalette("conveyor").size(), 6u);
  EXPECT_EQ(searchPalette("still conveyor").size(), 3u);
  ASSERT_EQ(searchPalette("swing switch").size(), 1u);
  EXPECT_EQ(searchPalette("swing switch")[0]->brush.code, world::kBarSwitch);
  EXPECT_EQ(searchPalette("").size(), palette().size());
  // A designer finds blocks by their material.
  for (const char* material : {"brick", "grass", "metal", "ice", "wood", "glass", "stone"}) {
    const std::vector<const PaletteEntry*> found = searchPalette(material);
    EXPECT_GE(found.size(), 2u) << material;
    for (const PaletteEntry* entry : found)
      EXPECT_EQ(entry->brush.layer, Layer::Blocks) << material;
  }
  EXPECT_EQ(searchPalette("red brick").size(), 1u);
  EXPECT_EQ(brushName({Layer::Devices, world::kExit}), "exit");
  EXPECT_EQ(brushName({Layer::Blocks, 3}), "red brick");
  EXPECT_EQ(brushName({Layer::Blocks, 70}), "invisible block 70");
  EXPECT_EQ(brushName({Layer::Blocks, 1234}), "block code 1234");
}

}  // namespace
}  // namespace mdx::edit
