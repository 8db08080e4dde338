// Writing level sources: header values, the two maps with the default legend, side tables.
#include <set>
#include <string>

#include "level/legend.h"
#include "level/level_source.h"

namespace mdx::level {

namespace {

const char* const kPieceNames[] = {"none", "lift", "pillar", "tee", "rightarm", "leftarm"};

void writeMap(std::string& out, const world::LevelGrid& grid, const Legend& legend) {
  for (int row = 0; row < world::kRows; ++row) {
    for (int column = 0; column < world::kColumns; ++column) {
      out += legend.charFor(grid[world::cellIndex(row, column)]);
    }
    out += '\n';
  }
}

// A char line for every character of the old block defaults the map uses, so the source says
// what each of its characters means.
void writeBlockLegend(std::string& out, const world::LevelGrid& grid, const Legend& legend) {
  std::set<int32_t> used(grid.begin(), grid.end());
  for (const LegendDefault& entry : defaultBlockEntries()) {
    if (!entry.plain && used.count(entry.code) && legend.charFor(entry.code) == entry.symbol) {
      out += std::string("char block ") + entry.symbol + ' ' + std::to_string(entry.code) + '\n';
    }
  }
}

void writeCellTable(std::string& out, const char* layer, const world::LevelGrid& grid,
                    const Legend& legend) {
  for (int k = 0; k < world::kCells; ++k) {
    if (legend.charFor(grid[k]) != kCellTableChar) continue;
    out += std::string("cell ") + layer + ' ' + std::to_string(k / world::kColumns) + ' ' +
           std::to_string(k % world::kColumns) + ' ' + std::to_string(grid[k]) + '\n';
  }
}

}  // namespace

const char* pieceTypeName(int32_t type) {
  return type >= 0 && type <= 5 ? kPieceNames[type] : nullptr;
}

std::string writeSource(const LevelSource& level) {
  std::string out =
      "# Marvolen DX level source. Build it with: marvolen-level build THIS.src OUT.dat\n"
      "# Block legend: . empty, = swing-bar filler (98), @ robot, * explosion marker (999),\n"
      "# and the char lines before the maps. Device legend: . none, C lift car, | lift shaft,\n"
      "# B lift call button, W swing bar, S bar switch, E exit, / and ^ stairs (10, 11),\n"
      "# X bomb, * blinker (13), 1 5 9 decorations. ? means: see the cell table below.\n";
  if (level.intro) out += "intro\n";
  out += "pieceCount " + std::to_string(level.pieceCount) + '\n';
  int lastPiece = 9;
  while (lastPiece >= 0 && level.pieceTypes[lastPiece] == 0) --lastPiece;
  out += "pieces";
  for (int i = 0; i <= lastPiece; ++i) {
    const char* name = pieceTypeName(level.pieceTypes[i]);
    out += ' ';
    out += name != nullptr ? std::string(name) : std::to_string(level.pieceTypes[i]);
  }
  out += '\n';
  out += "landscapeChoice " + std::to_string(level.landscapeChoice) + '\n';
  out += "parallax1On " + std::to_string(level.parallax1On) + '\n';
  out += "parallax2Mode " + std::to_string(level.parallax2Mode) + '\n';
  out += "levelMusic " + std::to_string(level.levelMusic) + '\n';
  out += "landscapeMotion " + std::to_string(level.landscapeMotion) + '\n';
  if (level.crlf) out += "lineEndings crlf\n";
  if (!level.finalNewline) out += "finalNewline no\n";

  const Legend blocks = Legend::defaultBlocks();
  const Legend devices = Legend::defaultDevices();
  writeBlockLegend(out, level.blockLayer, blocks);
  out += "blocks\n";
  writeMap(out, level.blockLayer, blocks);
  out += "devices\n";
  writeMap(out, level.deviceLayer, devices);
  writeCellTable(out, "block", level.blockLayer, blocks);
  writeCellTable(out, "device", level.deviceLayer, devices);
  for (const auto& [line, text] : level.labels) {
    out += "label " + std::to_string(line) + ' ' + escapeText(text) + '\n';
  }
  for (const auto& [line, text] : level.rawValues) {
    out += "raw " + std::to_string(line) + ' ' + escapeText(text) + '\n';
  }
  return out;
}

}  // namespace mdx::level
