// marvolen-level check, legend and shapes: the level checks for scripts, the map characters
// every source may use and the cells each piece fills.
#include <cstdlib>
#include <ostream>
#include <string>

#include "level/legend.h"
#include "level/level_checks.h"
#include "level/tool_commands.h"
#include "render/asset_table.h"
#include "world/piece_table.h"

namespace mdx::level {

namespace {

// The picture file the game loads for a code (named within the game's data folder), or ""
// when it has none.
std::string pictureOf(world::Layer layer, int32_t code) {
  const render::AssetSlot slot =
      layer == world::Layer::Block ? render::AssetSlot::Block : render::AssetSlot::Device;
  for (const render::AssetEntry& entry : render::assetTable(world::shippedPackLayout("", ""))) {
    if (entry.slot == slot && entry.element == code) return entry.file;
  }
  return "";
}

// One layer's default characters with their pictures, then its codes that have no character.
void printLegend(std::ostream& out, world::Layer layer, const std::vector<LegendDefault>& entries) {
  const char* layerName = layer == world::Layer::Block ? "block" : "device";
  out << layerName << " map:\n";
  for (const LegendDefault& entry : entries) {
    out << "  " << entry.symbol << "  " << entry.code << "  " << entry.name;
    const std::string picture = pictureOf(layer, entry.code);
    if (!picture.empty()) out << "  (" << picture << ")";
    if (!entry.plain) {
      out << "  [define it: char " << layerName << ' ' << entry.symbol << ' ' << entry.code << "]";
    }
    out << '\n';
  }
  for (const world::CellKind& kind : world::kCellKinds) {
    if (kind.layer != layer || kind.symbol != 0) continue;
    out << "  codes " << kind.firstCode << " to " << kind.lastCode << ": " << kind.name
        << ((kind.flags & world::kSolid) != 0 ? ", solid" : "") << ", no picture  [define it: char "
        << layerName << " CHARACTER CODE]\n";
  }
}

// What piece type writes at (row, column) of its box when it lands: '#' a block, a device's
// own map character ('C' a lift car), '.' nothing.
char shapeCell(int32_t type, int row, int column) {
  char cell = '.';
  for (const world::CellWrite& write : world::pieceKind(type)->landWrites) {
    if (write.row != row || write.column != column || write.value == 0) continue;
    if (write.layer == world::Layer::Block) cell = '#';
    if (write.layer == world::Layer::Device)
      cell = world::findCellKind(world::Layer::Device, write.value)->symbol;
  }
  return cell;
}

// "C lift car, | lift shaft": the devices the pieces bring, as the shapes show them.
std::string pieceDeviceKey() {
  std::string key;
  for (int32_t code : {world::kLiftCar, world::kLiftShaft}) {
    const world::CellKind* kind = world::findCellKind(world::Layer::Device, code);
    key += std::string(key.empty() ? "" : ", ") + kind->symbol + " " + kind->name;
  }
  return key;
}

}  // namespace

int checkCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CheckOptions options;
  cli::ParsedArgs args = parseSubcommand("check", argc, argv);
  options.budgetSeconds = args.positive("--budget", options.budgetSeconds);
  if (args.error.empty() && args.words.size() != 1) args.error = "give one level file";
  if (!args.error.empty()) {
    err << "marvolen-level check: " << args.error << '\n';
    return 2;
  }
  const std::string& path = args.words[0];
  CheckedFile file;
  if (!readCheckedFile(path, file)) {
    err << file.error << '\n';
    return 2;
  }
  for (const LevelWarning& warning : file.warnings) err << formatWarning(path, warning) << '\n';
  const LevelVerdict verdict = decideLevel(file.level, options);
  out << verdictLine(verdict) << '\n' << explainVerdict(verdict);
  return verdictExitCode(verdict.verdict);
}

int legendCommand(std::ostream& out) {
  out << "Map characters every level source may use without a char line. Block codes 1 to "
      << world::kLastPicturedBlock
      << " have the characters 1-9 A-Z a-z only\nby an old default: define the ones a source "
         "uses with its own char line (char block g 1).\n";
  printLegend(out, world::Layer::Block, defaultBlockEntries());
  printLegend(out, world::Layer::Device, defaultDeviceEntries());
  return 0;
}

int shapesCommand(std::ostream& out) {
  out << "Where each piece lands in its 3 x 4 box (columns 0-2 from the left, rows 0-3 from the "
         "top;\n# block, "
      << pieceDeviceKey() << "). A piece appears with its box at column 15, row 0.\n\n";
  std::string header = "      ";
  for (int32_t type = 1; type < world::kPieceKinds; ++type) {
    const std::string name = pieceTypeName(type);
    header += name + std::string(10 - name.size(), ' ');
  }
  out << header.substr(0, header.find_last_not_of(' ') + 1) << '\n';
  for (int row = 0; row < 4; ++row) {
    out << "row " << row;
    for (int32_t type = 1; type < world::kPieceKinds; ++type) {
      out << (type == 1 ? " " : "       ");
      for (int column = 0; column < 3; ++column) out << shapeCell(type, row, column);
    }
    out << '\n';
  }
  return 0;
}

}  // namespace mdx::level
