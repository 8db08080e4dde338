#include "mediagen/pictures.h"

#include <stdexcept>

#include "mediagen/art.h"
#include "render/asset_table.h"

namespace mdx::media {

namespace {

using render::AssetEntry;
using render::AssetSlot;

constexpr int kCell = 19;
constexpr int kLandscapeSide = 830;

// The size and painter of one title-screen and play-screen text picture (text01 to text08).
PictureToDraw textPicture(int element) {
  switch (element) {
    case 0:
      return {"", 230, 76, [](Canvas& c) { drawMenu(c, false); }};
    case 1:
      return {"", 230, 76, [](Canvas& c) { drawMenu(c, true); }};
    case 2:
      return {"", 126, 62, drawReadySign};
    case 3:
      return {"", 70, 20, drawLevelLabel};
    case 4:
      return {"", 350, 27, drawCompleteBanner};
    case 5:
      return {"", 256, 102, drawHint};
    case 6:
      return {"", 138, 46, [](Canvas& c) { drawQuitPrompt(c, false); }};
    default:
      return {"", 138, 46, [](Canvas& c) { drawQuitPrompt(c, true); }};
  }
}

// Size and painter of one row of the game's picture table. packIndex picks the themes of a
// pack's landscapes.
PictureToDraw paintingFor(const AssetEntry& entry, int packIndex) {
  const int e = entry.element;
  switch (entry.slot) {
    case AssetSlot::Parallax:
      if (e == 0) return {"", 8, 8, drawPlaceholder};
      return {"", 640, e == 1 ? 44 : 100, [e](Canvas& c) { drawParallax(c, e - 1); }};
    case AssetSlot::Landscape: {
      const int theme = e == 0 ? 0 : 1 + 2 * packIndex + (e - 1);
      return {"", kLandscapeSide, kLandscapeSide,
              [theme](Canvas& c) { drawLandscape(c, landscapeTheme(theme)); }};
    }
    case AssetSlot::Logo:
      return {"", 525, 102, drawLogo};
    case AssetSlot::Dx:
      return {"", 151, 80, drawEmblem};
    case AssetSlot::Light:
      return {"", 25, 38, [e](Canvas& c) { drawExitLight(c, e); }};
    case AssetSlot::Text:
      return textPicture(e);
    case AssetSlot::Rect01:
      return {"", 248, 48, drawMenuBar};
    case AssetSlot::Rect02:
      return {"", 608, 448, drawHowToPanel};
    case AssetSlot::TextNext:
      return {"", 92, 16, drawNextLabel};
    case AssetSlot::Border:
      return {"", 27, 27, drawTileBorder};
    case AssetSlot::Tile:
      return {"", 25, 25, [e](Canvas& c) { drawTile(c, e); }};
    case AssetSlot::Digit:
      return {"", 12, 20, [e](Canvas& c) { drawDigit(c, e); }};
    case AssetSlot::Explosion:
      return {"", 39, 39, drawExplosion};
    case AssetSlot::Block:
      return {"", kCell, kCell, [e](Canvas& c) { drawBlock(c, e); }};
    case AssetSlot::Device:
      return {"", e == 6 ? 3 * kCell : kCell, e == 8 ? 2 * kCell : kCell,
              [e](Canvas& c) { drawDevice(c, e); }};
    case AssetSlot::Robot:
      return {"", kCell, 2 * kCell, [e](Canvas& c) { drawRobot(c, e); }};
  }
  throw std::logic_error("no painter for a picture of the table");
}

// The table's rows in or out of the pack folder, with their paintings.
std::vector<PictureToDraw> tablePictures(const std::string& packFolder, int packIndex,
                                         bool inPack) {
  std::vector<PictureToDraw> list;
  for (const AssetEntry& entry : render::assetTable(world::shippedPackLayout("", packFolder))) {
    if (entry.inPack != inPack) continue;
    PictureToDraw picture = paintingFor(entry, packIndex);
    picture.file = entry.file;
    list.push_back(std::move(picture));
  }
  return list;
}

}  // namespace

std::vector<PictureToDraw> mediaPictures() {
  return tablePictures("", 0, false);
}

std::vector<PictureToDraw> packPictures(const std::string& packFolder, int packIndex) {
  return tablePictures(packFolder, packIndex, true);
}

}  // namespace mdx::media
