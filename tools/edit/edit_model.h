// The level being edited: painting, rectangle fills, the eyedropper, the piece list and the
// look values, with undo and redo, a dirty flag, and opening and saving through the level
// toolchain's readers and writers. Platform-free: the window and the tests drive it alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "edit/region_tools.h"
#include "level/level_source.h"

namespace mdx::edit {

enum class Layer { Blocks, Devices };

// What a paint click puts into a cell: a code on one layer (0 erases).
struct Brush {
  Layer layer = Layer::Blocks;
  int32_t code = 1;
};

// The level values shown beside the canvas.
enum class LookValue { LandscapeChoice, Parallax1On, Parallax2Mode, LevelMusic, LandscapeMotion };

constexpr int kMaxPieces = 10;
// At least this many steps can be undone; older ones are forgotten.
constexpr size_t kUndoLimit = 256;

// True when two levels would play and look the same and carry the same words: both layers, the
// pieces, the values, the name, idea and hint.
bool sameLevel(const level::LevelSource& a, const level::LevelSource& b);

class EditModel {
 public:
  EditModel();

  const level::LevelSource& level() const { return level_; }
  // Changes with every edit, undo, redo, open and new level; the proof and the canvas redo
  // their work when it moves.
  uint64_t revision() const { return revision_; }
  // The file saving writes to; empty for a new level that was never saved.
  const std::string& path() const { return path_; }
  // True when the level differs from what was last opened or saved.
  bool dirty() const { return !sameLevel(level_, saved_); }

  // Starts an empty level: nothing in the grid, no pieces, landscape 1, music 1.
  void newLevel();
  // Opens a level source (.src) or a level file (anything else; it is saved as a source next
  // to it, never over it). On failure the current level stays and error names file and line.
  bool open(const std::string& path, std::string& error);
  // Writes the source to path() (or to the given path), through a temporary file and a
  // rename. A level that equals the level as opened (also after edits taken back, and after
  // saves in between) is written with the exact bytes it was opened from; an edited one is
  // written over the opened source, so its comments, legend and notes stay.
  bool save(std::string& error);
  bool saveAs(const std::string& path, std::string& error);

  // Each edit below is one undo step and returns false (recording nothing) when it changes
  // nothing or is out of range. Rows 0 to 27 and columns 0 to 33 are editable.
  bool paint(int row, int column, const Brush& brush);
  // Fills the rectangle between two corner cells (in any order) with the brush. The robot
  // brush moves the level's one robot to the second corner instead.
  bool fillRect(int row0, int column0, int row1, int column1, const Brush& brush);
  // The brush that reproduces the cell: its device if it has one, else its block; false for
  // an empty cell or one outside the grid.
  bool pick(int row, int column, Brush& brush) const;

  // The region tools. Copy fills the clipboard (both layers) and changes no level; the others
  // are one undo step each. Paste puts the clipboard's top-left cell at (row, column); move is
  // a cut and a paste taken back together. Flood fill gives the brush's code to the connected
  // cells of the same code on the brush's layer; the line paints the cells between two cells.
  // The robot brush moves the robot to the cell clicked (fill) or the line's end. Mirror turns
  // the rectangle left to right, wholeGrid() for the whole level.
  bool copy(const CellRect& rect);
  bool cut(const CellRect& rect);
  bool paste(int row, int column);
  bool move(const CellRect& rect, int row, int column);
  bool floodFill(int row, int column, const Brush& brush);
  bool drawLine(int row0, int column0, int row1, int column1, const Brush& brush);
  bool mirror(const CellRect& rect);
  const CellBlock& clipboard() const { return clipboard_; }
  // Puts another version of the level in its place as one undo step (a recovered autosave).
  bool replaceLevel(const level::LevelSource& level);

  // The piece list: pieceTypes[0] to pieceTypes[pieceCount - 1], types 1 to 5.
  bool addPiece(int32_t type);
  bool removePiece(int index);
  bool setPieceType(int index, int32_t type);
  // Moves piece index one place earlier (delta -1) or later (+1).
  bool movePiece(int index, int delta);

  int32_t value(LookValue which) const;
  bool setValue(LookValue which, int32_t value);

  // The name, idea or hint (field of world::levelMetaFields()); "" removes it. Text that does
  // not fit the field is refused with the reason in error ("the name has 30 characters, ...").
  bool setWord(const world::LevelMetaField& field, const std::string& text, std::string& error);

  bool undo();
  bool redo();
  size_t undoSteps() const { return undo_.size(); }
  size_t redoSteps() const { return redo_.size(); }

 private:
  // Records the level before an edit; the edit then changes level_.
  void remember();
  // Undoes a remember() whose edit changed nothing.
  bool keepIfChanged();
  int32_t* field(LookValue which);
  void resetHistory();
  // One undo step for an edit made by change(level_).
  template <class Change>
  bool edit(Change&& change) {
    remember();
    change(level_);
    return keepIfChanged();
  }

  level::LevelSource level_;
  level::LevelSource saved_;
  std::string path_;
  level::LevelSource opened_;  // the level as opened from a source
  std::string openedText_;     // the bytes it came from; empty for a new level or a level file
  std::deque<level::LevelSource> undo_;
  std::deque<level::LevelSource> redo_;
  uint64_t revision_ = 1;
  CellBlock clipboard_;  // kept across levels, so cells can be carried from one to another
};

}  // namespace mdx::edit
