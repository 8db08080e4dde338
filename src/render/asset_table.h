// The table of every picture the game loads at start-up, in loading order.
#pragma once

#include <string>
#include <vector>

#include "render/assets.h"
#include "world/pack_catalog.h"

namespace mdx::render {

// The program-wide picture (or picture array) an asset row fills.
enum class AssetSlot {
  Parallax,
  Landscape,
  Logo,
  Dx,
  Light,
  Text,
  Rect01,
  Rect02,
  TextNext,
  Border,
  Tile,
  Digit,
  Explosion,
  Block,
  Device,
  Robot,
};

// One picture to load: where it goes and the file it comes from.
struct AssetEntry {
  AssetSlot slot;
  int element;          // index into the slot's array; 0 for single pictures
  std::string file;     // the path the picture is read from
  bool inPack = false;  // file lies in the map pack's folder rather than in media/
};

// Every picture in loading order: the shared ones from pack's data folder, the two pack
// landscapes from pack's own folder.
std::vector<AssetEntry> assetTable(const world::PackLayout& pack);

// The SpriteImage an entry fills. The element must be within the slot's array.
gfx::SpriteImage& assetTarget(Assets& assets, const AssetEntry& entry);

}  // namespace mdx::render
