// Level sources: a readable, editable text form of a level, and the game's 1938-line level
// files. Both convert into one LevelSource; a level file converted to a source and back gives
// the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "world/grid.h"
#include "world/level_format.h"
#include "world/level_meta.h"

namespace mdx::level {

// Lines of a level file, counted from 1; the layout is the game's (world/level_format.h).
constexpr int kDatLines = world::kLevelFileLines;
using world::isLabelLine;
using world::kBlockFirstLine;
using world::kDeviceFirstLine;
using world::kPieceCountLine;
using world::valueAt;

// Everything a level file holds, plus the text of lines that the value alone cannot restore.
struct LevelSource : world::LevelValues {
  // A new level shows the first landscape and plays the first song.
  LevelSource() {
    landscapeChoice = 1;
    levelMusic = 1;
  }

  // An introduction level may be won with every piece dropped straight down. The flag is kept
  // in the level file as the text of its first line.
  bool intro = false;

  // The level's name, idea and hint ("name", "idea" and "hint" lines), carried into its pack.
  world::LevelMeta meta;

  // Label lines whose text differs from defaultLabel(line), by line number.
  std::map<int, std::string> labels;
  // Value lines whose text is not the plain decimal form of their value (for example "12 abc").
  std::map<int, std::string> rawValues;
  bool crlf = false;         // the file's lines end with CR LF
  bool finalNewline = true;  // the last line ends with a line break
};

// The text the converter writes on a label line (line 1 depends on the introduction flag).
std::string defaultLabel(int line, bool intro);

// Converts a value line the way the game does (world::parseValue).
inline int32_t lineValue(const std::string& line) {
  return world::parseValue(line);
}

// The level file's text: exactly 1938 lines, each ending with a line feed.
std::string writeDat(const LevelSource& level);

// Reads a level file of exactly 1938 lines (LF or CR LF endings; a last line without a line
// feed is accepted) that the game reads to its end: a line longer than the game reads is
// refused. On failure returns false and puts a message naming the line in error.
bool readDat(const std::string& text, LevelSource& level, std::string& error);

// The source text of a level, with the default legend and a side table for codes without a
// character of their own.
std::string writeSource(const LevelSource& level);

// The source text of level written over original, the source of an earlier version of it:
// its comments, blank lines, notes after map rows, legend, labels and the order of its lines
// stay, and a map cell keeps its character while that still means the cell's code. Changed
// values, pieces and cells are written anew, a new cell with a character of the source's own
// legend where it has one. False when original does not parse (writeSource is left).
bool updateSource(const std::string& original, const LevelSource& level, std::string& text);

// Parses a level source. On failure returns false and sets error to "line N: what is wrong".
bool parseSource(const std::string& text, LevelSource& level, std::string& error);

// Names of the piece types 0 to 5, as the source writes them ("none", "lift", "pillar", ...).
const char* pieceTypeName(int32_t type);

}  // namespace mdx::level
