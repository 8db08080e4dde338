// The cell table: the facts every reader of a code takes from it must be consistent.
#include "world/cell_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace mdx::world {
namespace {

TEST(CellTable, EveryCodeHasOneEntryOneCharacterAndOneName) {
  for (Layer layer : {Layer::Block, Layer::Device}) {
    std::map<int32_t, int> entries;
    std::set<char> symbols;
    std::set<std::string> names;
    for (const CellKind& kind : kCellKinds) {
      if (kind.layer != layer) continue;
      EXPECT_LE(kind.firstCode, kind.lastCode) << kind.name;
      for (int32_t code = kind.firstCode; code <= kind.lastCode; ++code) ++entries[code];
      if (kind.symbol != 0) {
        EXPECT_TRUE(symbols.insert(kind.symbol).second) << kind.symbol;
      }
      EXPECT_TRUE(names.insert(kind.name).second) << kind.name;
    }
    for (const auto& [code, count] : entries) EXPECT_EQ(count, 1) << "code " << code;
  }
}

TEST(CellTable, PicturesRunUnbrokenFromCodeOne) {
  // The pictures are loaded as one run per layer (block001 on, block101 on).
  for (int32_t code = 1; code <= kLastPicturedBlock; ++code) EXPECT_TRUE(hasBlockPicture(code));
  for (int32_t code = 1; code <= kLastDevice; ++code) EXPECT_TRUE(hasDevicePicture(code));
  for (int32_t code : {0, kLastPicturedBlock + 1, kGateFiller, kRobot, kExplosionMarker, -1, 1000})
    EXPECT_FALSE(hasBlockPicture(code)) << code;
  EXPECT_FALSE(hasDevicePicture(kLastDevice + 1));
}

TEST(CellTable, ConveyorsAlternateWithAStillPictureOfTheirOwn) {
  std::set<int32_t> seconds;
  for (const CellKind& kind : kCellKinds) {
    const bool conveyor = (kind.flags & kConveyor) != 0;
    EXPECT_EQ(conveyor, kind.secondPicture != 0) << kind.name;
    if (!conveyor) continue;
    EXPECT_EQ(kind.layer, Layer::Block);
    EXPECT_TRUE(hasBlockPicture(kind.firstCode));
    EXPECT_TRUE(hasBlockPicture(kind.secondPicture)) << kind.name;
    EXPECT_FALSE(isConveyor(kind.secondPicture)) << kind.name;
    EXPECT_TRUE(seconds.insert(kind.secondPicture).second) << kind.name;
  }
  EXPECT_EQ(seconds.size(), 3u);
}

TEST(CellTable, NamesAnswerForCodesInRunsAndOutsideTheTable) {
  EXPECT_EQ(cellName(Layer::Block, 3), "red brick");
  EXPECT_EQ(cellName(Layer::Block, 62), "invisible block 62");
  EXPECT_EQ(cellName(Layer::Block, 97), "invisible block 97");
  EXPECT_EQ(cellName(Layer::Block, 1000), "block code 1000");
  EXPECT_EQ(cellName(Layer::Device, kBlinker), "blinking light");
  EXPECT_EQ(cellName(Layer::Device, 14), "device code 14");
  EXPECT_EQ(cellName(Layer::Device, -2), "device code -2");
  EXPECT_NE(cellFlags(Layer::Block, kGateFiller) & kSolid, 0);
}

}  // namespace
}  // namespace mdx::world
