#include "edit/palette.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "world/cell_table.h"

namespace mdx::edit {

namespace {

world::Layer worldLayer(Layer layer) {
  return layer == Layer::Blocks ? world::Layer::Block : world::Layer::Device;
}

// The robot start, every device with a picture, then every block with a picture, each under its
// name in the cell table.
std::vector<PaletteEntry> makePalette() {
  std::vector<PaletteEntry> entries;
  const world::CellKind* robot = world::findCellKind(world::Layer::Block, world::kRobot);
  entries.push_back({robot->name, {Layer::Blocks, world::kRobot}});
  for (Layer layer : {Layer::Devices, Layer::Blocks}) {
    for (const world::CellKind& kind : world::kCellKinds) {
      if (kind.layer != worldLayer(layer) || (kind.flags & world::kPictured) == 0) continue;
      for (int32_t code = kind.firstCode; code <= kind.lastCode; ++code)
        entries.push_back({world::cellName(kind.layer, code), {layer, code}});
    }
  }
  return entries;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

const std::vector<PaletteEntry>& palette() {
  static const std::vector<PaletteEntry> entries = makePalette();
  return entries;
}

std::vector<const PaletteEntry*> searchPalette(const std::string& filter) {
  std::vector<std::string> words;
  std::istringstream split(lower(filter));
  for (std::string word; split >> word;) words.push_back(word);
  std::vector<const PaletteEntry*> found;
  for (const PaletteEntry& entry : palette()) {
    const std::string name = lower(entry.name);
    if (std::all_of(words.begin(), words.end(),
                    [&](const std::string& w) { return name.find(w) != std::string::npos; })) {
      found.push_back(&entry);
    }
  }
  return found;
}

std::string brushName(const Brush& brush) {
  for (const PaletteEntry& entry : palette()) {
    if (entry.brush.layer == brush.layer && entry.brush.code == brush.code) return entry.name;
  }
  return world::cellName(worldLayer(brush.layer), brush.code);
}

}  // namespace mdx::edit
