// The level file: 1938 lines, one value or label per line. This is the one description of
// its layout, used by the game's loader, the level tools, the simulator, the tests and the
// fuzz targets. Reading and writing work on bytes in memory; any struct that carries the level
// values under their usual names (LevelValues, World, the tools' level sources) can be read
// into and written from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "world/grid.h"
#include "world/line_reader.h"

namespace mdx::world {

// Lines of a level file, counted from 1.
constexpr int kLevelFileLines = 1938;
constexpr int kBlockFirstLine = 2;     // 952 blockLayer values from here
constexpr int kDeviceLabelLine = 954;  // then a label and 952 deviceLayer values
constexpr int kDeviceFirstLine = 955;
constexpr int kValuesLabelLine = 1907;  // then a label and pieceCount
constexpr int kPieceCountLine = 1908;
constexpr int kFirstPieceLabelLine = 1909;  // ten pairs: a label, then pieceTypes[i]
constexpr int kLandscapeLabelLine = 1929;   // five pairs: a label, then a level value
constexpr int kPieceTypeSlots = 10;
static_assert(kDeviceLabelLine == kBlockFirstLine + kCells);
static_assert(kValuesLabelLine == kDeviceFirstLine + kCells);
static_assert(kLandscapeLabelLine == kFirstPieceLabelLine + 2 * kPieceTypeSlots);
static_assert(kLevelFileLines == kLandscapeLabelLine + 2 * 5 - 1);

// Lines of a map pack's pref.ini: a label, then levelCount.
constexpr int kPrefLines = 2;

// Everything a level file holds, in file order.
struct LevelValues {
  LevelGrid blockLayer{};
  LevelGrid deviceLayer{};
  int32_t pieceCount = 0;
  std::array<int32_t, kPieceTypeSlots> pieceTypes{};
  int32_t landscapeChoice = 0;
  int32_t parallax1On = 0;
  int32_t parallax2Mode = 0;
  int32_t levelMusic = 0;
  int32_t landscapeMotion = 0;
};

// What a line of the file holds. For layers and piece types, index tells which entry.
struct LineSlot {
  enum Kind {
    Label,
    Block,
    Device,
    PieceCount,
    PieceType,
    Landscape,
    Parallax1,
    Parallax2,
    Music,
    Motion,
    Outside
  };
  Kind kind = Outside;
  int index = 0;
};

// The slot of line `line`; Outside before line 1 and after line 1938.
LineSlot lineSlot(int line);

// True for the lines the game reads as labels and ignores.
inline bool isLabelLine(int line) {
  return lineSlot(line).kind == LineSlot::Label;
}

// The text our files carry on label line `line` ("blockLayer", "pieceType3", "levelMusic");
// empty for any other line.
std::string defaultLabel(int line);

// The field that value line `line` fills in level; null for label lines and lines outside the
// file. Const levels give const pointers.
template <typename Level>
auto valueAt(Level& level, int line) -> decltype(&level.pieceCount) {
  const LineSlot slot = lineSlot(line);
  switch (slot.kind) {
    case LineSlot::Block:
      return &level.blockLayer[static_cast<std::size_t>(slot.index)];
    case LineSlot::Device:
      return &level.deviceLayer[static_cast<std::size_t>(slot.index)];
    case LineSlot::PieceCount:
      return &level.pieceCount;
    case LineSlot::PieceType:
      return &level.pieceTypes[static_cast<std::size_t>(slot.index)];
    case LineSlot::Landscape:
      return &level.landscapeChoice;
    case LineSlot::Parallax1:
      return &level.parallax1On;
    case LineSlot::Parallax2:
      return &level.parallax2Mode;
    case LineSlot::Music:
      return &level.levelMusic;
    case LineSlot::Motion:
      return &level.landscapeMotion;
    default:
      return nullptr;
  }
}

// How a read went. The game reads every file, whole or not; a tool or a message can tell
// from this where a file stopped.
struct LevelFileReport {
  int lines = 0;          // lines the input really held, at most 1938 (later ones are not read)
  bool overlong = false;  // the line `lines` was longer than 254 characters: all later ones read 0
  bool opened = true;     // false: the file could not be opened (then lines is 0)

  bool complete() const { return lines == kLevelFileLines && !overlong; }
};

// Reads a level file the way the game does: every value of level is assigned, labels are
// ignored, lines missing at the end (or after an overlong line) read as 0.
template <typename Level>
LevelFileReport readLevel(LineReader& reader, Level& level) {
  for (int line = 1; line <= kLevelFileLines; ++line) {
    const std::string_view text = reader.readLine();
    if (auto* value = valueAt(level, line)) *value = parseValue(text);
  }
  return {reader.linesRead(), reader.overlong()};
}

template <typename Level>
LevelFileReport readLevel(std::string_view bytes, Level& level) {
  LineReader reader(bytes);
  return readLevel(reader, level);
}

// The bytes of a level file: lineText(line) for lines 1 to 1938, each followed by ending, the
// last one only when finalBreak is true.
template <typename LineText>
std::string writeLevelLines(LineText&& lineText, std::string_view ending = "\n",
                            bool finalBreak = true) {
  std::string out;
  out.reserve(kLevelFileLines * 6);
  for (int line = 1; line <= kLevelFileLines; ++line) {
    out += lineText(line);
    if (line < kLevelFileLines || finalBreak) out += ending;
  }
  return out;
}

// The level file of level: the default labels and every value in plain decimal.
template <typename Level>
std::string writeLevel(const Level& level) {
  return writeLevelLines([&level](int line) {
    const auto* value = valueAt(level, line);
    return value != nullptr ? std::to_string(*value) : defaultLabel(line);
  });
}

// levelCount from the bytes of a pack's pref.ini: its second line, read as level-file values
// are; 0 when there is none.
int32_t readLevelCount(std::string_view prefBytes);

}  // namespace mdx::world
