#include "edit/edit_model.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "base/files.h"
#include "base/text.h"
#include "level/tool_commands.h"

namespace mdx::edit {

namespace {

world::LevelGrid& layerOf(level::LevelSource& level, Layer layer) {
  return layer == Layer::Blocks ? level.blockLayer : level.deviceLayer;
}

// A level-file line's own text ("12 abc") stays only while it still reads as the line's
// value: a line whose value an edit changed is written as the plain number.
void dropStaleLineText(level::LevelSource& level) {
  for (auto line = level.rawValues.begin(); line != level.rawValues.end();) {
    const int32_t* value = world::valueAt(level, line->first);
    const bool holds = value != nullptr && level::lineValue(line->second) == *value;
    line = holds ? std::next(line) : level.rawValues.erase(line);
  }
}

}  // namespace

bool sameLevel(const level::LevelSource& a, const level::LevelSource& b) {
  return a.blockLayer == b.blockLayer && a.deviceLayer == b.deviceLayer &&
         a.pieceCount == b.pieceCount && a.pieceTypes == b.pieceTypes &&
         a.landscapeChoice == b.landscapeChoice && a.parallax1On == b.parallax1On &&
         a.parallax2Mode == b.parallax2Mode && a.levelMusic == b.levelMusic &&
         a.landscapeMotion == b.landscapeMotion && a.intro == b.intro && a.meta == b.meta;
}

EditModel::EditModel() {
  newLevel();
}

void EditModel::newLevel() {
  level_ = level::LevelSource{};
  saved_ = level_;
  opened_ = level_;
  path_.clear();
  openedText_.clear();
  resetHistory();
}

bool EditModel::open(const std::string& path, std::string& error) {
  std::string text;
  level::LevelSource opened;
  if (!base::readWholeFile(path, text, error) || !level::loadLevel(path, opened, error)) {
    return false;
  }
  level_ = opened;
  saved_ = opened;
  opened_ = opened;
  if (base::endsWith(path, ".src")) {
    path_ = path;
    openedText_ = text;
  } else {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    path_ = (hasExtension ? path.substr(0, dot) : path) + ".src";
    openedText_.clear();
  }
  resetHistory();
  return true;
}

bool EditModel::save(std::string& error) {
  if (path_.empty()) {
    error = "the level has no file name yet";
    return false;
  }
  return saveAs(path_, error);
}

bool EditModel::saveAs(const std::string& path, std::string& error) {
  std::string text;
  if (!openedText_.empty() && sameLevel(level_, opened_)) {
    text = openedText_;
  } else if (openedText_.empty() || !level::updateSource(openedText_, level_, text)) {
    text = level::writeSource(level_);
  }
  if (!base::writeFileSafely(path, text, error)) return false;
  path_ = path;
  saved_ = level_;
  ++revision_;  // the title and dirty mark change
  return true;
}

void EditModel::remember() {
  undo_.push_back(level_);
  if (undo_.size() > kUndoLimit) undo_.pop_front();
}

bool EditModel::keepIfChanged() {
  if (sameLevel(level_, undo_.back())) {
    undo_.pop_back();
    return false;
  }
  dropStaleLineText(level_);
  redo_.clear();
  ++revision_;
  return true;
}

void EditModel::resetHistory() {
  undo_.clear();
  redo_.clear();
  ++revision_;
}

bool EditModel::paint(int row, int column, const Brush& brush) {
  return fillRect(row, column, row, column, brush);
}

bool EditModel::fillRect(int row0, int column0, int row1, int column1, const Brush& brush) {
  if (!inGrid(row0, column0) || !inGrid(row1, column1)) return false;
  remember();
  world::LevelGrid& grid = layerOf(level_, brush.layer);
  if (brush.layer == Layer::Blocks && brush.code == world::kRobot) {
    // A level has one robot: the robot brush moves it to the cell the stroke ends on.
    std::replace(grid.begin(), grid.end(), world::kRobot, 0);
    grid[world::cellIndex(row1, column1)] = world::kRobot;
    return keepIfChanged();
  }
  for (int row = std::min(row0, row1); row <= std::max(row0, row1); ++row) {
    for (int column = std::min(column0, column1); column <= std::max(column0, column1); ++column) {
      grid[world::cellIndex(row, column)] = brush.code;
    }
  }
  return keepIfChanged();
}

bool EditModel::pick(int row, int column, Brush& brush) const {
  if (!inGrid(row, column)) return false;
  const int k = world::cellIndex(row, column);
  if (level_.deviceLayer[k] != 0) {
    brush = {Layer::Devices, level_.deviceLayer[k]};
  } else if (level_.blockLayer[k] != 0) {
    brush = {Layer::Blocks, level_.blockLayer[k]};
  } else {
    return false;
  }
  return true;
}

bool EditModel::copy(const CellRect& rect) {
  clipboard_ = copyCells(level_, rect);
  return true;
}

bool EditModel::cut(const CellRect& rect) {
  copy(rect);
  return edit([&](level::LevelSource& level) { clearCells(level, rect); });
}

bool EditModel::paste(int row, int column) {
  if (clipboard_.empty() || !inGrid(row, column)) return false;
  return edit([&](level::LevelSource& level) { pasteCells(level, clipboard_, row, column); });
}

bool EditModel::move(const CellRect& rect, int row, int column) {
  if (!inGrid(row, column)) return false;
  const CellBlock cells = copyCells(level_, rect);
  return edit([&](level::LevelSource& level) {
    clearCells(level, rect);
    pasteCells(level, cells, row, column);
  });
}

bool EditModel::floodFill(int row, int column, const Brush& brush) {
  if (!inGrid(row, column)) return false;
  if (brush.layer == Layer::Blocks && brush.code == world::kRobot) return paint(row, column, brush);
  return edit([&](level::LevelSource& level) {
    edit::floodFill(layerOf(level, brush.layer), row, column, brush.code);
  });
}

bool EditModel::drawLine(int row0, int column0, int row1, int column1, const Brush& brush) {
  if (!inGrid(row0, column0) || !inGrid(row1, column1)) return false;
  if (brush.layer == Layer::Blocks && brush.code == world::kRobot)
    return paint(row1, column1, brush);
  return edit([&](level::LevelSource& level) {
    for (const int k : lineCells(row0, column0, row1, column1)) {
      layerOf(level, brush.layer)[k] = brush.code;
    }
  });
}

bool EditModel::mirror(const CellRect& rect) {
  return edit([&](level::LevelSource& level) { mirrorCells(level, rect); });
}

bool EditModel::replaceLevel(const level::LevelSource& level) {
  return edit([&](level::LevelSource& current) { current = level; });
}

bool EditModel::addPiece(int32_t type) {
  if (level_.pieceCount < 0 || level_.pieceCount >= kMaxPieces || type < 1 || type > 5) {
    return false;
  }
  remember();
  level_.pieceTypes[level_.pieceCount++] = type;
  return keepIfChanged();
}

bool EditModel::removePiece(int index) {
  if (index < 0 || index >= std::min(level_.pieceCount, kMaxPieces)) return false;
  remember();
  auto& types = level_.pieceTypes;
  std::move(types.begin() + index + 1, types.end(), types.begin() + index);
  types.back() = 0;
  --level_.pieceCount;
  return keepIfChanged();
}

bool EditModel::setPieceType(int index, int32_t type) {
  if (index < 0 || index >= std::min(level_.pieceCount, kMaxPieces) || type < 1 || type > 5) {
    return false;
  }
  remember();
  level_.pieceTypes[index] = type;
  return keepIfChanged();
}

bool EditModel::movePiece(int index, int delta) {
  const int other = index + delta;
  const int count = std::min(level_.pieceCount, kMaxPieces);
  if ((delta != -1 && delta != 1) || index < 0 || index >= count || other < 0 || other >= count) {
    return false;
  }
  remember();
  std::swap(level_.pieceTypes[index], level_.pieceTypes[other]);
  return keepIfChanged();
}

int32_t* EditModel::field(LookValue which) {
  switch (which) {
    case LookValue::LandscapeChoice:
      return &level_.landscapeChoice;
    case LookValue::Parallax1On:
      return &level_.parallax1On;
    case LookValue::Parallax2Mode:
      return &level_.parallax2Mode;
    case LookValue::LevelMusic:
      return &level_.levelMusic;
    case LookValue::LandscapeMotion:
      return &level_.landscapeMotion;
  }
  return &level_.landscapeChoice;
}

int32_t EditModel::value(LookValue which) const {
  return *const_cast<EditModel*>(this)->field(which);
}

bool EditModel::setValue(LookValue which, int32_t value) {
  remember();
  *field(which) = value;
  return keepIfChanged();
}

bool EditModel::setWord(const world::LevelMetaField& field, const std::string& text,
                        std::string& error) {
  const std::string problem = world::levelMetaTextProblem(field, text);
  if (!problem.empty()) {
    error = std::string("the ") + field.key + " " + problem;
    return false;
  }
  remember();
  level_.meta.*field.text = text;
  return keepIfChanged();
}

bool EditModel::undo() {
  if (undo_.empty()) return false;
  redo_.push_back(std::move(level_));
  level_ = std::move(undo_.back());
  undo_.pop_back();
  ++revision_;
  return true;
}

bool EditModel::redo() {
  if (redo_.empty()) return false;
  undo_.push_back(std::move(level_));
  level_ = std::move(redo_.back());
  redo_.pop_back();
  ++revision_;
  return true;
}

}  // namespace mdx::edit
