#include "render/asset_table.h"

#include <cstdio>
#include <stdexcept>

#include "world/cell_table.h"

namespace mdx::render {
namespace {

// A run of pictures: count consecutive elements of one slot starting at firstElement, their
// files made from pattern with the numbers firstNumber, firstNumber + 1, ...
struct AssetRun {
  AssetSlot slot;
  int firstElement;
  int count;
  const char* pattern;  // printf pattern with one %d-style field, or a plain file name
  int firstNumber;
  bool inPack;  // file lies in the map pack's folder rather than in media/
};

// The loading order of the game's pictures. Row order is loading order.
constexpr AssetRun kAssetRuns[] = {
    {AssetSlot::Parallax, 0, 1, "media/blank.tga", 0, false},
    {AssetSlot::Parallax, 1, 2, "media/prlx%02d.tga", 1, false},
    {AssetSlot::Landscape, 0, 1, "media/lndscp01.tga", 0, false},
    {AssetSlot::Landscape, 1, 2, "lndscp%02d.tga", 2, true},
    {AssetSlot::Logo, 0, 1, "media/logo.tga", 0, false},
    {AssetSlot::Dx, 0, 1, "media/dx.tga", 0, false},
    {AssetSlot::Light, 0, 2, "media/light%02d.tga", 1, false},
    {AssetSlot::Text, 0, 8, "media/text%02d.tga", 1, false},
    {AssetSlot::Rect01, 0, 1, "media/rect01.tga", 0, false},
    {AssetSlot::Rect02, 0, 1, "media/rect02.tga", 0, false},
    {AssetSlot::TextNext, 0, 1, "media/textnext.tga", 0, false},
    {AssetSlot::Border, 0, 1, "media/border.tga", 0, false},
    {AssetSlot::Tile, 0, 6, "media/tile%02d.tga", 0, false},
    {AssetSlot::Digit, 0, 10, "media/%d.tga", 0, false},
    {AssetSlot::Explosion, 0, 1, "media/explode1.tga", 0, false},
    {AssetSlot::Block, 1, world::kLastPicturedBlock, "media/block%03d.tga", 1, false},
    {AssetSlot::Device, 1, world::kLastDevice, "media/block%03d.tga", 101, false},
    {AssetSlot::Robot, 0, 4, "media/marvo%02d.tga", 1, false},
};

std::string runFile(const AssetRun& run, int offset) {
  char name[64];
  std::snprintf(name, sizeof name, run.pattern, run.firstNumber + offset);
  return name;
}

template <std::size_t N>
gfx::SpriteImage& pick(std::array<gfx::SpriteImage, N>& images, int element) {
  return images.at(static_cast<std::size_t>(element));
}

}  // namespace

std::vector<AssetEntry> assetTable(const world::PackLayout& pack) {
  std::vector<AssetEntry> table;
  for (const AssetRun& run : kAssetRuns) {
    for (int i = 0; i < run.count; ++i) {
      const std::string name = runFile(run, i);
      std::string file = run.inPack ? pack.packFile(name) : pack.dataFile(name);
      table.push_back({run.slot, run.firstElement + i, std::move(file), run.inPack});
    }
  }
  return table;
}

gfx::SpriteImage& assetTarget(Assets& assets, const AssetEntry& entry) {
  const int e = entry.element;
  switch (entry.slot) {
    case AssetSlot::Parallax:
      return pick(assets.parallaxImages, e);
    case AssetSlot::Landscape:
      return pick(assets.landscapeImages, e);
    case AssetSlot::Logo:
      return assets.logoImage;
    case AssetSlot::Dx:
      return assets.dxImage;
    case AssetSlot::Light:
      return pick(assets.lightImages, e);
    case AssetSlot::Text:
      return pick(assets.textImages, e);
    case AssetSlot::Rect01:
      return assets.rect01Image;
    case AssetSlot::Rect02:
      return assets.rect02Image;
    case AssetSlot::TextNext:
      return assets.textNextImage;
    case AssetSlot::Border:
      return assets.borderImage;
    case AssetSlot::Tile:
      return pick(assets.tileImages, e);
    case AssetSlot::Digit:
      return pick(assets.digitImages, e);
    case AssetSlot::Explosion:
      return pick(assets.explosionImages, e);
    case AssetSlot::Block:
      return pick(assets.blockImages, e);
    case AssetSlot::Device:
      return pick(assets.deviceImages, e);
    case AssetSlot::Robot:
      return pick(assets.robotImages, e);
  }
  throw std::logic_error("unknown asset slot");
}

}  // namespace mdx::render
