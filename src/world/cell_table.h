// Every code a level's two layers may hold: its layer, its default character in level sources,
// its name and what it is. The rules, the drawing, the picture list, the level tools and the
// editor all read this table, so a code's meaning is written here and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace mdx::world {

enum class Layer : uint8_t { Block, Device };

enum CellFlag : uint8_t {
  kPictured = 1,     // drawn with a picture of its own (a block's, or a device's)
  kConveyor = 2,     // moves a robot standing on it one cell to the left
  kSolid = 4,        // falling pieces and the robot stop at it
  kPlainSymbol = 8,  // its default character may be used without a `char` line in a source
};

// One code, or a run of codes sharing one description (firstCode to lastCode).
struct CellKind {
  Layer layer;
  int32_t firstCode, lastCode;
  char symbol;            // the default character in level sources; 0 for none
  const char* name;       // what a designer calls it and searches for
  uint8_t flags;          // CellFlag bits
  int32_t secondPicture;  // a conveyor's other picture, shown in alternate phases; 0 for none
};

// Device codes the rules and the drawing treat one by one.
enum Device : int32_t {
  kLiftCar = 2,
  kLiftShaft = 3,
  kLiftButton = 4,
  kWheel = 5,
  kSwingBar = 6,
  kBarSwitch = 7,
  kExit = 8,
  kStairA = 10,
  kStairB = 11,
  kBomb = 12,
  kBlinker = 13,
};

// Block codes with a meaning of their own.
constexpr int32_t kGateFiller = 98;
constexpr int32_t kRobot = 99;
constexpr int32_t kExplosionMarker = 999;

constexpr uint8_t kPicturedBlock = kPictured | kSolid;
constexpr uint8_t kConveyorBlock = kPicturedBlock | kConveyor;

// The table, blocks then devices. Block codes 1 to 61 are '1'-'9' 'A'-'Z' 'a'-'z' only by an
// old default, so a source says what they mean with its own `char` line.
inline constexpr CellKind kCellKinds[] = {
    {Layer::Block, 0, 0, '.', "empty", kPlainSymbol, 0},
    {Layer::Block, kRobot, kRobot, '@', "robot start", kPlainSymbol | kSolid, 0},
    {Layer::Block, kGateFiller, kGateFiller, '=', "swing-bar filler (solid, not drawn)",
     kPlainSymbol | kSolid, 0},
    {Layer::Block, kExplosionMarker, kExplosionMarker, '*', "explosion marker",
     kPlainSymbol | kSolid, 0},
    {Layer::Block, 1, 1, '1', "grass", kPicturedBlock, 0},
    {Layer::Block, 2, 2, '2', "yellow beam, left end", kPicturedBlock, 0},
    {Layer::Block, 3, 3, '3', "red brick", kPicturedBlock, 0},
    {Layer::Block, 4, 4, '4', "yellow beam, right end", kPicturedBlock, 0},
    {Layer::Block, 5, 5, '5', "yellow pillar", kPicturedBlock, 0},
    {Layer::Block, 6, 6, '6', "grey stone", kPicturedBlock, 0},
    {Layer::Block, 7, 7, '7', "blue metal", kPicturedBlock, 0},
    {Layer::Block, 8, 8, '8', "wood", kPicturedBlock, 0},
    {Layer::Block, 9, 9, '9', "glass", kPicturedBlock, 0},
    {Layer::Block, 10, 10, 'A', "yellow beam, left end with joint", kPicturedBlock, 0},
    {Layer::Block, 11, 11, 'B', "yellow beam, right end with joint", kPicturedBlock, 0},
    {Layer::Block, 12, 12, 'C', "green pipe, across", kPicturedBlock, 0},
    {Layer::Block, 13, 13, 'D', "green pipe, upright", kPicturedBlock, 0},
    {Layer::Block, 14, 14, 'E', "green pipe, corner", kPicturedBlock, 0},
    {Layer::Block, 15, 15, 'F', "teal girder", kPicturedBlock, 0},
    {Layer::Block, 16, 16, 'G', "yellow beam, middle", kPicturedBlock, 0},
    {Layer::Block, 17, 17, 'H', "yellow stem", kPicturedBlock, 0},
    {Layer::Block, 18, 18, 'I', "white checker tile", kPicturedBlock, 0},
    {Layer::Block, 19, 19, 'J', "yellow hazard stripes", kPicturedBlock, 0},
    {Layer::Block, 20, 20, 'K', "grey vent", kPicturedBlock, 0},
    {Layer::Block, 21, 21, 'L', "teal panel", kPicturedBlock, 0},
    {Layer::Block, 22, 22, 'M', "ice", kPicturedBlock, 0},
    {Layer::Block, 23, 23, 'N', "gold", kPicturedBlock, 0},
    {Layer::Block, 24, 24, 'O', "cobblestone", kPicturedBlock, 0},
    {Layer::Block, 25, 25, 'P', "green circuit board", kPicturedBlock, 0},
    {Layer::Block, 26, 26, 'Q', "sand", kPicturedBlock, 0},
    {Layer::Block, 27, 27, 'R', "orange brick", kPicturedBlock, 0},
    {Layer::Block, 28, 28, 'S', "green metal", kPicturedBlock, 0},
    {Layer::Block, 29, 29, 'T', "dark stone", kPicturedBlock, 0},
    {Layer::Block, 30, 30, 'U', "yellow pillar, top", kPicturedBlock, 0},
    {Layer::Block, 31, 31, 'V', "dark wood", kPicturedBlock, 0},
    {Layer::Block, 32, 32, 'W', "blue glass", kPicturedBlock, 0},
    {Layer::Block, 33, 33, 'X', "orange pipe, across", kPicturedBlock, 0},
    {Layer::Block, 34, 34, 'Y', "orange pipe, upright", kPicturedBlock, 0},
    {Layer::Block, 35, 35, 'Z', "orange pipe, corner", kPicturedBlock, 0},
    {Layer::Block, 36, 36, 'a', "snow", kPicturedBlock, 0},
    {Layer::Block, 37, 37, 'b', "red metal", kPicturedBlock, 0},
    {Layer::Block, 38, 38, 'c', "purple panel", kPicturedBlock, 0},
    {Layer::Block, 39, 39, 'd', "mossy cobblestone", kPicturedBlock, 0},
    {Layer::Block, 40, 40, 'e', "purple brick", kPicturedBlock, 0},
    {Layer::Block, 41, 41, 'f', "blue checker tile", kPicturedBlock, 0},
    {Layer::Block, 42, 42, 'g', "conveyor, left end", kConveyorBlock, 49},
    {Layer::Block, 43, 43, 'h', "conveyor, middle", kConveyorBlock, 50},
    {Layer::Block, 44, 44, 'i', "conveyor, right end", kConveyorBlock, 51},
    {Layer::Block, 45, 45, 'j', "dark vent", kPicturedBlock, 0},
    {Layer::Block, 46, 46, 'k', "blue hazard stripes", kPicturedBlock, 0},
    {Layer::Block, 47, 47, 'l', "red girder", kPicturedBlock, 0},
    {Layer::Block, 48, 48, 'm', "yellow pillar, foot", kPicturedBlock, 0},
    {Layer::Block, 49, 49, 'n', "still conveyor, left end", kPicturedBlock, 0},
    {Layer::Block, 50, 50, 'o', "still conveyor, middle", kPicturedBlock, 0},
    {Layer::Block, 51, 51, 'p', "still conveyor, right end", kPicturedBlock, 0},
    {Layer::Block, 52, 52, 'q', "red circuit board", kPicturedBlock, 0},
    {Layer::Block, 53, 53, 'r', "pink ice", kPicturedBlock, 0},
    {Layer::Block, 54, 54, 's', "brown sand", kPicturedBlock, 0},
    {Layer::Block, 55, 55, 't', "orange panel", kPicturedBlock, 0},
    {Layer::Block, 56, 56, 'u', "gold metal", kPicturedBlock, 0},
    {Layer::Block, 57, 57, 'v', "beige stone", kPicturedBlock, 0},
    {Layer::Block, 58, 58, 'w', "light wood", kPicturedBlock, 0},
    {Layer::Block, 59, 59, 'x', "green glass", kPicturedBlock, 0},
    {Layer::Block, 60, 60, 'y', "blue brick", kPicturedBlock, 0},
    {Layer::Block, 61, 61, 'z', "grass with flowers", kPicturedBlock, 0},
    {Layer::Block, 62, 97, 0, "invisible block", kSolid, 0},
    {Layer::Device, 0, 0, '.', "none", kPlainSymbol, 0},
    {Layer::Device, 1, 1, '1', "gauge decoration", kPlainSymbol | kPictured, 0},
    {Layer::Device, kLiftCar, kLiftCar, 'C', "lift car", kPlainSymbol | kPictured, 0},
    {Layer::Device, kLiftShaft, kLiftShaft, '|', "lift shaft", kPlainSymbol | kPictured, 0},
    {Layer::Device, kLiftButton, kLiftButton, 'B', "lift call button", kPlainSymbol | kPictured, 0},
    {Layer::Device, kWheel, kWheel, '5', "turning wheel", kPlainSymbol | kPictured, 0},
    {Layer::Device, kSwingBar, kSwingBar, 'W', "swing bar", kPlainSymbol | kPictured, 0},
    {Layer::Device, kBarSwitch, kBarSwitch, 'S', "swing bar switch", kPlainSymbol | kPictured, 0},
    {Layer::Device, kExit, kExit, 'E', "exit", kPlainSymbol | kPictured, 0},
    {Layer::Device, 9, 9, '9', "bottle decoration", kPlainSymbol | kPictured, 0},
    {Layer::Device, kStairA, kStairA, '/', "yellow stairs", kPlainSymbol | kPictured, 0},
    {Layer::Device, kStairB, kStairB, '^', "blue stairs with rail", kPlainSymbol | kPictured, 0},
    {Layer::Device, kBomb, kBomb, 'X', "bomb", kPlainSymbol | kPictured, 0},
    {Layer::Device, kBlinker, kBlinker, '*', "blinking light", kPlainSymbol | kPictured, 0},
};

namespace cell_table_detail {

constexpr int32_t kBlockCodes = kExplosionMarker + 1;
constexpr int32_t kDeviceCodes = 100;

// Each code's entry, by code, so the rules and the drawing look a code up at once.
template <std::size_t N>
constexpr std::array<const CellKind*, N> kindsOf(Layer layer) {
  std::array<const CellKind*, N> kinds{};
  for (const CellKind& kind : kCellKinds) {
    if (kind.layer != layer) continue;
    for (int32_t code = kind.firstCode; code <= kind.lastCode; ++code)
      kinds[static_cast<std::size_t>(code)] = &kind;
  }
  return kinds;
}

inline constexpr std::array<const CellKind*, kBlockCodes> kBlockKinds =
    kindsOf<kBlockCodes>(Layer::Block);
inline constexpr std::array<const CellKind*, kDeviceCodes> kDeviceKinds =
    kindsOf<kDeviceCodes>(Layer::Device);

// The highest code of a layer whose flags include flag.
constexpr int32_t lastWith(Layer layer, uint8_t flag) {
  int32_t last = 0;
  for (const CellKind& kind : kCellKinds)
    if (kind.layer == layer && (kind.flags & flag) != 0 && kind.lastCode > last)
      last = kind.lastCode;
  return last;
}

}  // namespace cell_table_detail

// The entry describing a code, or nullptr when the table has none.
constexpr const CellKind* findCellKind(Layer layer, int32_t code) {
  using namespace cell_table_detail;
  if (code < 0) return nullptr;
  if (layer == Layer::Block) return code < kBlockCodes ? kBlockKinds[code] : nullptr;
  return code < kDeviceCodes ? kDeviceKinds[code] : nullptr;
}

// A code's flags (0 for a code the table does not describe).
constexpr uint8_t cellFlags(Layer layer, int32_t code) {
  const CellKind* kind = findCellKind(layer, code);
  return kind == nullptr ? 0 : kind->flags;
}

constexpr bool isConveyor(int32_t blockCode) {
  return (cellFlags(Layer::Block, blockCode) & kConveyor) != 0;
}
constexpr bool hasBlockPicture(int32_t blockCode) {
  return (cellFlags(Layer::Block, blockCode) & kPictured) != 0;
}
constexpr bool hasDevicePicture(int32_t deviceCode) {
  return (cellFlags(Layer::Device, deviceCode) & kPictured) != 0;
}

// Block pictures drawn as left/right twins (a beam's or a conveyor's two ends): mirroring a
// level swaps them so a run still reads left end, middle, right end. A conveyor keeps moving
// the robot to the left after a mirror, as every conveyor does.
inline constexpr std::array<std::array<int32_t, 2>, 4> kMirrorTwins = {{
    {2, 4},    // yellow beam ends
    {10, 11},  // yellow beam ends with joint
    {42, 44},  // conveyor ends
    {49, 51},  // still conveyor ends
}};

// The block code that shows the picture of blockCode seen in a mirror (itself when it has no twin).
constexpr int32_t mirroredBlock(int32_t blockCode) {
  for (const auto& twins : kMirrorTwins) {
    if (twins[0] == blockCode) return twins[1];
    if (twins[1] == blockCode) return twins[0];
  }
  return blockCode;
}

// Blocks 1 to kLastPicturedBlock and devices 1 to kLastDevice have pictures; device codes above
// kLastDevice do nothing.
constexpr int32_t kLastPicturedBlock = cell_table_detail::lastWith(Layer::Block, kPictured);
constexpr int32_t kLastDevice = cell_table_detail::lastWith(Layer::Device, kPictured);

// The name of a code: its entry's name, with the code added for a run ("invisible block 70"),
// or "block code N" / "device code N" for a code the table does not describe.
std::string cellName(Layer layer, int32_t code);

}  // namespace mdx::world
