// The editor's region tools as a designer uses them: select, copy, cut, paste, move, flood
// fill, line and mirror, each taken back whole by one undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "edit/edit_model.h"
#include "world/cell_table.h"

namespace mdx::edit {
namespace {

int32_t block(const EditModel& model, int row, int column) {
  return model.level().blockLayer[world::cellIndex(row, column)];
}
int32_t device(const EditModel& model, int row, int column) {
  return model.level().deviceLayer[world::cellIndex(row, column)];
}

// A shipped level, so the tools meet real maps with both layers and a robot.
EditModel shippedLevel() {
  EditModel model;
  std::string error;
  EXPECT_TRUE(model.open(MDX_SOURCE_DIR "/levels/mappack1/level07.src", error)) << error;
  return model;
}

// Runs one tool, then checks it was one undo step back to the exact level and one redo forward.
template <class Tool>
void expectOneUndoStep(EditModel& model, Tool&& tool) {
  const level::LevelSource before = model.level();
  const size_t steps = model.undoSteps();
  ASSERT_TRUE(tool());
  const level::LevelSource after = model.level();
  EXPECT_FALSE(sameLevel(before, after));
  EXPECT_EQ(model.undoSteps(), steps + 1);
  ASSERT_TRUE(model.undo());
  EXPECT_TRUE(sameLevel(model.level(), before));
  EXPECT_EQ(model.level().blockLayer, before.blockLayer);
  ASSERT_TRUE(model.redo());
  EXPECT_TRUE(sameLevel(model.level(), after));
}

TEST(EditRegionSelect, CornersInAnyOrderAndOutsideTheGridRefused) {
  CellRect rect;
  ASSERT_TRUE(rectBetween(5, 9, 2, 3, rect));
  EXPECT_EQ(rect.top, 2);
  EXPECT_EQ(rect.left, 3);
  EXPECT_EQ(rect.rows(), 4);
  EXPECT_EQ(rect.columns(), 7);
  EXPECT_FALSE(rectBetween(0, 0, world::kRows, 0, rect));
  EXPECT_FALSE(rectBetween(-1, 0, 3, 3, rect));
}

// A selection dragged past an edge stops there whole; a paste's rectangle is cut at the edge.
TEST(EditRegionSelect, MovedSelectionsStayWholeAndPastesAreCutAtTheEdge) {
  const CellRect rect{2, 3, 5, 9};
  EXPECT_TRUE(rect.holds(2, 9));
  EXPECT_FALSE(rect.holds(6, 3));
  const CellRect moved = shiftedInGrid(rect, 3, -1);
  EXPECT_EQ(std::vector<int>({moved.top, moved.left, moved.bottom, moved.right}),
            std::vector<int>({5, 2, 8, 8}));
  for (const auto& [rows, columns] : {std::pair{-10, -10}, std::pair{50, 50}}) {
    const CellRect stopped = shiftedInGrid(rect, rows, columns);
    EXPECT_EQ(stopped.rows(), rect.rows());
    EXPECT_EQ(stopped.columns(), rect.columns());
    EXPECT_TRUE(inGrid(stopped.top, stopped.left) && inGrid(stopped.bottom, stopped.right));
  }
  EXPECT_EQ(shiftedInGrid(rect, 50, 0).bottom, world::kRows - 1);

  EditModel model;
  ASSERT_TRUE(model.copy(rect));
  const CellRect pasted = pastedRect(model.clipboard(), world::kRows - 2, world::kColumns - 3);
  EXPECT_EQ(pasted.rows(), 2);
  EXPECT_EQ(pasted.columns(), 3);
  EXPECT_EQ(pastedRect(model.clipboard(), 0, 0).rows(), rect.rows());
}

TEST(EditRegionCopyPaste, BothLayersLandAtTheCellAndUndoRestores) {
  EditModel model;
  model.paint(3, 4, {Layer::Blocks, 7});
  model.paint(3, 5, {Layer::Devices, world::kExit});
  model.paint(4, 5, {Layer::Blocks, 3});
  CellRect rect;
  ASSERT_TRUE(rectBetween(3, 4, 4, 5, rect));
  const size_t steps = model.undoSteps();
  ASSERT_TRUE(model.copy(rect));
  EXPECT_EQ(model.undoSteps(), steps);  // copying edits nothing
  expectOneUndoStep(model, [&] { return model.paste(10, 20); });
  EXPECT_EQ(block(model, 10, 20), 7);
  EXPECT_EQ(device(model, 10, 21), world::kExit);
  EXPECT_EQ(block(model, 11, 21), 3);
  EXPECT_EQ(block(model, 3, 4), 7);  // the original stays
}

TEST(EditRegionCopyPaste, PasteAtTheEdgeDropsWhatFallsOutside) {
  EditModel model;
  model.fillRect(0, 0, 2, 2, {Layer::Blocks, 5});
  CellRect rect;
  ASSERT_TRUE(rectBetween(0, 0, 2, 2, rect));
  model.copy(rect);
  ASSERT_TRUE(model.paste(world::kRows - 1, world::kColumns - 2));
  EXPECT_EQ(block(model, world::kRows - 1, world::kColumns - 1), 5);
  EXPECT_FALSE(model.paste(world::kRows, 0));
  EditModel empty;
  EXPECT_FALSE(empty.paste(1, 1));  // nothing copied yet
}

TEST(EditRegionCopyPaste, PastingTheRobotMovesTheOneRobot) {
  EditModel model = shippedLevel();
  const auto& blocks = model.level().blockLayer;
  const int robotAt =
      static_cast<int>(std::find(blocks.begin(), blocks.end(), world::kRobot) - blocks.begin());
  const int row = robotAt / world::kColumns, column = robotAt % world::kColumns;
  CellRect rect;
  ASSERT_TRUE(rectBetween(row, column, row, column, rect));
  model.copy(rect);
  const int target = row == 0 ? 1 : 0;
  expectOneUndoStep(model, [&] { return model.paste(target, column); });
  EXPECT_EQ(std::count(blocks.begin(), blocks.end(), world::kRobot), 1);
  EXPECT_EQ(block(model, target, column), world::kRobot);
}

TEST(EditRegionCut, EmptiesBothLayersAndFillsTheClipboard) {
  EditModel model = shippedLevel();
  CellRect rect = wholeGrid();
  expectOneUndoStep(model, [&] { return model.cut(rect); });
  EXPECT_EQ(model.level().blockLayer, world::LevelGrid{});
  EXPECT_EQ(model.level().deviceLayer, world::LevelGrid{});
  ASSERT_TRUE(model.paste(0, 0));
  model.undo();
  model.undo();
  EditModel fresh = shippedLevel();
  EXPECT_TRUE(sameLevel(model.level(), fresh.level()));
  EditModel empty;
  EXPECT_FALSE(empty.cut(rect));
  EXPECT_EQ(empty.undoSteps(), 0u);
}

TEST(EditRegionMove, CutAndPasteAreOneStepAndOverlapsKeepTheCells) {
  EditModel model;
  model.paint(5, 5, {Layer::Blocks, 1});
  model.paint(5, 6, {Layer::Blocks, 2});
  model.paint(5, 7, {Layer::Devices, world::kBomb});
  CellRect rect;
  ASSERT_TRUE(rectBetween(5, 5, 5, 7, rect));
  // Moving one cell right overlaps the old place: every cell must arrive.
  expectOneUndoStep(model, [&] { return model.move(rect, 5, 6); });
  EXPECT_EQ(block(model, 5, 5), 0);
  EXPECT_EQ(block(model, 5, 6), 1);
  EXPECT_EQ(block(model, 5, 7), 2);
  EXPECT_EQ(device(model, 5, 8), world::kBomb);
  EXPECT_EQ(device(model, 5, 7), 0);
  EXPECT_FALSE(model.move(rect, -1, 0));
}

TEST(EditRegionFloodFill, FillsOnlyTheConnectedCellsOfTheSameCode) {
  EditModel model;
  // A wall across the grid splits the empty cells in two.
  model.fillRect(10, 0, 10, world::kColumns - 1, {Layer::Blocks, 3});
  model.paint(2, 2, {Layer::Devices, world::kExit});
  expectOneUndoStep(model, [&] { return model.floodFill(0, 0, {Layer::Blocks, 6}); });
  EXPECT_EQ(block(model, 9, world::kColumns - 1), 6);
  EXPECT_EQ(block(model, 2, 2), 6);  // the device layer does not stop a block fill
  EXPECT_EQ(block(model, 10, 5), 3);
  EXPECT_EQ(block(model, 11, 0), 0);
  EXPECT_EQ(device(model, 2, 2), world::kExit);
  EXPECT_FALSE(model.floodFill(0, 0, {Layer::Blocks, 6}));  // same code: nothing to do
}

TEST(EditRegionLine, StraightAndSlantedLinesAreUnbrokenBetweenTheEnds) {
  EditModel model;
  expectOneUndoStep(model, [&] { return model.drawLine(3, 2, 3, 9, {Layer::Blocks, 8}); });
  for (int column = 2; column <= 9; ++column) EXPECT_EQ(block(model, 3, column), 8);
  EXPECT_EQ(block(model, 3, 10), 0);
  // A slant from bottom-right to top-left: one cell per column, each touching the last.
  const std::vector<int> cells = lineCells(20, 30, 14, 18);
  ASSERT_EQ(cells.size(), 13u);
  EXPECT_EQ(cells.front(), world::cellIndex(20, 30));
  EXPECT_EQ(cells.back(), world::cellIndex(14, 18));
  for (size_t i = 1; i < cells.size(); ++i) {
    EXPECT_LE(std::abs(cells[i] / world::kColumns - cells[i - 1] / world::kColumns), 1);
    EXPECT_EQ(std::abs(cells[i] % world::kColumns - cells[i - 1] % world::kColumns), 1);
  }
  ASSERT_TRUE(model.drawLine(0, 0, 5, 5, {Layer::Blocks, world::kRobot}));
  EXPECT_EQ(
      std::count(model.level().blockLayer.begin(), model.level().blockLayer.end(), world::kRobot),
      1);
  EXPECT_EQ(block(model, 5, 5), world::kRobot);
}

TEST(EditRegionMirror, TheSelectionTurnsAndConveyorsStillReadLeftToRight) {
  EditModel model;
  // A conveyor run: left end, middle, right end; a bomb under its left end.
  model.paint(8, 4, {Layer::Blocks, 42});
  model.paint(8, 5, {Layer::Blocks, 43});
  model.paint(8, 6, {Layer::Blocks, 44});
  model.paint(9, 4, {Layer::Devices, world::kBomb});
  model.paint(8, 8, {Layer::Blocks, 3});
  CellRect rect;
  ASSERT_TRUE(rectBetween(8, 3, 9, 8, rect));
  expectOneUndoStep(model, [&] { return model.mirror(rect); });
  EXPECT_EQ(block(model, 8, 3), 3);
  EXPECT_EQ(block(model, 8, 5), 42);  // still the left end on the left
  EXPECT_EQ(block(model, 8, 6), 43);
  EXPECT_EQ(block(model, 8, 7), 44);
  EXPECT_TRUE(world::isConveyor(block(model, 8, 5)));
  EXPECT_EQ(device(model, 9, 7), world::kBomb);
  EXPECT_EQ(device(model, 9, 4), 0);
}

TEST(EditRegionMirror, TwiceOverTheWholeLevelGivesItBack) {
  EditModel model = shippedLevel();
  const level::LevelSource original = model.level();
  expectOneUndoStep(model, [&] { return model.mirror(wholeGrid()); });
  ASSERT_TRUE(model.mirror(wholeGrid()));
  EXPECT_TRUE(sameLevel(model.level(), original));
}

}  // namespace
}  // namespace mdx::edit
