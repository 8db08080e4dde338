#include "edit/palette.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "world/grid.h"

namespace mdx::edit {

namespace {

// Block codes 1 to 61 have pictures of their own.
constexpr int kBlockPictures = 61;
constexpr int32_t kFirstConveyor = 42;
constexpr int32_t kLastConveyor = 44;

std::vector<PaletteEntry> makePalette() {
  const std::pair<int32_t, const char*> devices[] = {
      {world::kLiftCar, "lift car"},
      {world::kLiftShaft, "lift shaft"},
      {world::kLiftButton, "lift call button"},
      {world::kStairA, "stairs 10"},
      {world::kStairB, "stairs 11"},
      {world::kSwingBar, "swing bar"},
      {world::kBarSwitch, "swing bar switch"},
      {world::kExit, "exit"},
      {world::kBomb, "bomb"},
      {world::kWheel, "wheel decoration"},
      {world::kBlinker, "blinking light"},
      {1, "decoration 1"},
      {9, "decoration 9"},
  };
  std::vector<PaletteEntry> entries;
  entries.push_back({"robot start", {Layer::Blocks, world::kRobot}});
  for (const auto& [code, name] : devices) entries.push_back({name, {Layer::Devices, code}});
  for (int32_t code = 1; code <= kBlockPictures; ++code) {
    const bool conveyor = code >= kFirstConveyor && code <= kLastConveyor;
    entries.push_back(
        {(conveyor ? "conveyor " : "block ") + std::to_string(code), {Layer::Blocks, code}});
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
  return (brush.layer == Layer::Blocks ? "block code " : "device code ") +
         std::to_string(brush.code);
}

}  // namespace mdx::edit
