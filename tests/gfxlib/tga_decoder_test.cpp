// Targa decoding: the outside suite against its reference renderings, and the alpha,
// transparency, orientation and run-length rules on small hand-built files.
#include "gfxlib/tga_decoder.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cctype>
#include <cstdlib>
#include <ostream>
#include <string>

#include "gfxlib/tga_writer.h"
#include "tga_test_files.h"

namespace mdx::gfx {
namespace {

using testing::buildTga;
using testing::suiteFile;
using testing::TgaLayout;

struct SuiteCase {
  const char* tga;
  const char* reference;
  int tolerance;  // per channel; 16-bit sources keep only 5 bits per colour
};

const SuiteCase kSuite[] = {
    {"cbw8.tga", "bw.png", 0},
    {"ubw8.tga", "bw.png", 0},
    {"ctc16.tga", "color.png", 8},
    {"utc16.tga", "color.png", 8},
    {"ccm8.tga", "color.png", 8},
    {"ucm8.tga", "color.png", 8},
    {"ctc24.tga", "color.png", 0},
    {"utc24.tga", "color.png", 0},
    {"ctc32.tga", "color.png", 0},
    {"utc32.tga", "color.png", 0},
    {"monochrome16_top_left.tga", "monochrome16.png", 0},
    {"monochrome16_top_left_rle.tga", "monochrome16.png", 0},
    {"monochrome8_bottom_left.tga", "monochrome8.png", 0},
    {"monochrome8_bottom_left_rle.tga", "monochrome8.png", 0},
    {"rgb24_bottom_left_rle.tga", "rgb24.0.png", 0},
    {"rgb24_top_left.tga", "rgb24.0.png", 0},
    {"rgb24_top_left_colormap.tga", "rgb24.1.png", 0},
    {"rgb32_bottom_left.tga", "rgb32.0.png", 0},
    {"rgb32_top_left_rle.tga", "rgb32.0.png", 0},
    {"rgb32_top_left_rle_colormap.tga", "rgb32.1.png", 0},
};

void PrintTo(const SuiteCase& c, std::ostream* os) {
  *os << c.tga << " vs " << c.reference;
}

class SuitePicture : public ::testing::TestWithParam<SuiteCase> {};

// Every pixel, alpha included, within the case's tolerance of the reference PNG. Magenta is
// not in these pictures, so transparency never interferes with the comparison.
TEST_P(SuitePicture, DecodesToItsReference) {
  if (const std::string why = testing::suiteMissing(); !why.empty()) GTEST_SKIP() << why;
  const SuiteCase& c = GetParam();
  const DecodeResult decoded = loadTgaFile(suiteFile(c.tga));
  ASSERT_TRUE(decoded.ok) << c.tga << ": " << decoded.error;
  int w = 0, h = 0, n = 0;
  unsigned char* ref = stbi_load(suiteFile(c.reference).c_str(), &w, &h, &n, 4);
  ASSERT_NE(ref, nullptr) << c.reference;
  ASSERT_EQ(decoded.picture.width, w);
  ASSERT_EQ(decoded.picture.height, h);
  int worst = 0, badPixels = 0;
  for (int i = 0; i < w * h; ++i) {
    const uint32_t p = decoded.picture.pixels[static_cast<std::size_t>(i)];
    const int got[4] = {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF), int(p >> 24)};
    int diff = 0;
    for (int ch = 0; ch < 4; ++ch) diff = std::max(diff, std::abs(got[ch] - ref[i * 4 + ch]));
    worst = std::max(worst, diff);
    if (diff > c.tolerance) ++badPixels;
  }
  stbi_image_free(ref);
  EXPECT_EQ(badPixels, 0) << c.tga << " worst channel difference " << worst;
}

INSTANTIATE_TEST_SUITE_P(OutsideSuite, SuitePicture, ::testing::ValuesIn(kSuite),
                         [](const auto& info) {
                           std::string name = info.param.tga;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// One 32-bit pixel (B, G, R, A as stored) with an optional extension-area alpha type.
uint32_t decodeOne32(uint8_t b, uint8_t g, uint8_t r, uint8_t a, int alphaType,
                     int descriptor = 0x28) {
  TgaLayout layout;
  layout.descriptor = descriptor;
  layout.data = {b, g, r, a};
  layout.alphaType = alphaType;
  const auto bytes = buildTga(layout);
  const DecodeResult result = decodeTga(bytes.data(), bytes.size());
  EXPECT_TRUE(result.ok) << result.error;
  return result.ok ? result.picture.pixels[0] : 0xDEADBEEFu;
}

TEST(TgaAlpha, KeptWithoutExtensionAreaAndWhenMarkedUseful) {
  EXPECT_EQ(decodeOne32(0x30, 0x20, 0x10, 0x80, -1), 0x80102030u);
  EXPECT_EQ(decodeOne32(0x30, 0x20, 0x10, 0x80, 3), 0x80102030u);
  // The attribute-bit count of the descriptor is often left 0 by writers of 32-bit files.
  EXPECT_EQ(decodeOne32(0x30, 0x20, 0x10, 0x80, -1, 0x20), 0x80102030u);
}

TEST(TgaAlpha, IgnoredWhenExtensionAreaMarksItUnused) {
  EXPECT_EQ(decodeOne32(0x30, 0x20, 0x10, 0x00, 0), 0xFF102030u);
  EXPECT_EQ(decodeOne32(0x30, 0x20, 0x10, 0x00, 1), 0xFF102030u);
  EXPECT_EQ(decodeOne32(0x30, 0x20, 0x10, 0x40, 2), 0xFF102030u);
}

TEST(TgaAlpha, PremultipliedColourIsRestored) {
  // Half-transparent pure red stored premultiplied: red 0x40 at alpha 0x80.
  EXPECT_EQ(decodeOne32(0x00, 0x00, 0x40, 0x80, 4), 0x80800000u);
}

TEST(TgaAlpha, AllZeroAlphaMeansOpaque) {
  TgaLayout layout;
  layout.width = 2;
  layout.data = {1, 2, 3, 0, 4, 5, 6, 0};
  const auto bytes = buildTga(layout);
  const DecodeResult result = decodeTga(bytes.data(), bytes.size());
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.picture.pixels[0], 0xFF030201u);
  EXPECT_EQ(result.picture.pixels[1], 0xFF060504u);
}

TEST(TgaAlpha, SixteenBitAttributeBitNeedsTheDescriptor) {
  TgaLayout layout;
  layout.depth = 16;
  layout.width = 2;
  // Pure blue with the top bit clear, pure red with it set.
  layout.data = {0x1F, 0x00, 0x00, 0xFC};
  layout.descriptor = 0x21;  // one attribute bit: the top bit is alpha
  auto bytes = buildTga(layout);
  DecodeResult result = decodeTga(bytes.data(), bytes.size());
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.picture.pixels[0], 0x000000FFu);
  EXPECT_EQ(result.picture.pixels[1], 0xFFFF0000u);
  layout.descriptor = 0x20;  // no attribute bits: every pixel is opaque
  bytes = buildTga(layout);
  result = decodeTga(bytes.data(), bytes.size());
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.picture.pixels[0], 0xFF0000FFu);
}

TEST(TgaMagenta, OnlyOpaqueMagentaBecomesTransparent) {
  EXPECT_EQ(decodeOne32(0xFF, 0x00, 0xFF, 0xFF, -1), 0u);
  EXPECT_EQ(decodeOne32(0xFE, 0x00, 0xFF, 0xFF, -1), 0xFFFF00FEu);
  EXPECT_EQ(decodeOne32(0xFF, 0x00, 0xFF, 0x80, -1), 0x80FF00FFu);
  // A 24-bit file has no alpha: its magenta is opaque, so it is keyed out.
  TgaLayout layout;
  layout.depth = 24;
  layout.descriptor = 0x20;
  layout.data = {0xFF, 0x00, 0xFF};
  const auto bytes = buildTga(layout);
  EXPECT_EQ(decodeTga(bytes.data(), bytes.size()).picture.pixels[0], 0u);
}

// A 2 x 2 picture stored in each corner order lands the same way up.
TEST(TgaOrientation, EveryOriginCornerGivesTheSamePicture) {
  const uint8_t a = 10, b = 20, c = 30, d = 40;  // grey levels: top row a b, bottom row c d
  const struct {
    int descriptor;
    std::vector<uint8_t> stored;
  } orders[] = {
      {0x00, {c, d, a, b}}, {0x10, {d, c, b, a}}, {0x20, {a, b, c, d}}, {0x30, {b, a, d, c}}};
  for (const auto& order : orders) {
    TgaLayout layout;
    layout.imageType = 3;
    layout.depth = 8;
    layout.width = layout.height = 2;
    layout.descriptor = order.descriptor;
    layout.data = order.stored;
    const auto bytes = buildTga(layout);
    const DecodeResult result = decodeTga(bytes.data(), bytes.size());
    ASSERT_TRUE(result.ok);
    const std::vector<uint32_t> expected = {0xFF0A0A0Au, 0xFF141414u, 0xFF1E1E1Eu, 0xFF282828u};
    EXPECT_EQ(result.picture.pixels, expected) << "descriptor " << order.descriptor;
  }
}

TEST(TgaRunLength, PacketsMayCrossRowsAndMixRunsWithRawPixels) {
  TgaLayout layout;
  layout.imageType = 10;
  layout.depth = 24;
  layout.width = 3;
  layout.height = 2;
  layout.descriptor = 0x20;
  // A run of four blue pixels (crossing into row 2), then two raw pixels: green, red.
  layout.data = {0x83, 0xFF, 0, 0, 0x01, 0, 0xFF, 0, 0, 0, 0xFF};
  const auto bytes = buildTga(layout);
  const DecodeResult result = decodeTga(bytes.data(), bytes.size());
  ASSERT_TRUE(result.ok) << result.error;
  const std::vector<uint32_t> expected = {0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu,
                                          0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u};
  EXPECT_EQ(result.picture.pixels, expected);
}

TEST(TgaColourMap, FirstEntryOffsetsTheIndicesAndFifteenBitEntriesAreOpaque) {
  TgaLayout layout;
  layout.imageType = 1;
  layout.depth = 8;
  layout.mapType = 1;
  layout.mapFirst = 5;
  layout.mapLength = 2;
  layout.mapBits = 15;
  layout.map = {0x00, 0x7C, 0x1F, 0x00};  // red, blue
  layout.width = 2;
  layout.descriptor = 0x20;
  layout.data = {6, 5};
  const auto bytes = buildTga(layout);
  const DecodeResult result = decodeTga(bytes.data(), bytes.size());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.picture.pixels, (std::vector<uint32_t>{0xFF0000FFu, 0xFFFF0000u}));
}

TEST(TgaWriter, WrittenPicturesReadBackWithTheirAlpha) {
  Picture picture;
  picture.width = 3;
  picture.height = 2;
  picture.pixels = {0xFF102030u, 0x80405060u, 0x00000000u, 0xFFFFFFFFu, 0x01020304u, 0xFF000000u};
  const auto bytes = encodeTga(picture);
  const DecodeResult result = decodeTga(bytes.data(), bytes.size());
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.picture.width, 3);
  EXPECT_EQ(result.picture.pixels, picture.pixels);
}

}  // namespace
}  // namespace mdx::gfx
