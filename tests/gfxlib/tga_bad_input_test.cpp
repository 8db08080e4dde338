// Broken and hostile Targa files fail with a reason instead of crashing or allocating wildly.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

#include "gfxlib/tga_decoder.h"
#include "tga_test_files.h"

// The largest single allocation since it was last set to 0, so a test can show that a hostile
// header is refused before the picture's memory is taken.
static std::size_t largestAllocation = 0;

void* operator new(std::size_t size) {
  largestAllocation = std::max(largestAllocation, size);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// GCC takes the free() below for a mismatch; it is the partner of the malloc() above.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace mdx::gfx {
namespace {

using testing::buildTga;
using testing::TgaLayout;

DecodeResult decode(const TgaLayout& layout) {
  const auto bytes = buildTga(layout);
  return decodeTga(bytes.data(), bytes.size());
}

void expectFailure(const TgaLayout& layout, const std::string& reasonPart) {
  const DecodeResult result = decode(layout);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find(reasonPart), std::string::npos) << "got: " << result.error;
}

TEST(TgaBadInput, SizesOutsideWhatTheGameCanUseAreRefused) {
  TgaLayout layout;
  layout.width = 0;
  expectFailure(layout, "zero");
  layout.width = 1;
  layout.height = 0;
  expectFailure(layout, "zero");
  // 65535 x 65535 would ask for 16 GiB; refused from the header alone.
  layout.width = layout.height = 65535;
  expectFailure(layout, "4096");
  layout.width = 4097;
  layout.height = 1;
  expectFailure(layout, "4096");
}

TEST(TgaBadInput, UnknownTypesAndDepthsAreRefused) {
  TgaLayout layout;
  layout.imageType = 0;
  expectFailure(layout, "image type");
  layout.imageType = 32;  // Huffman-compressed variants are not supported
  expectFailure(layout, "image type");
  layout.imageType = 2;
  layout.depth = 12;
  expectFailure(layout, "depth");
  layout.imageType = 3;
  layout.depth = 24;
  expectFailure(layout, "depth");
}

TEST(TgaBadInput, ColourMapProblemsAreRefused) {
  TgaLayout layout;
  layout.imageType = 1;
  layout.depth = 8;
  expectFailure(layout, "without a colour map");
  layout.mapType = 1;
  layout.mapLength = 2;
  layout.mapBits = 24;
  layout.map = {0, 0, 255, 0, 255, 0};
  layout.data = {2};  // only entries 0 and 1 exist
  expectFailure(layout, "index out of range");
  layout.mapFirst = 1;
  layout.data = {0};  // below the first entry
  expectFailure(layout, "index out of range");
  layout.map.resize(4);  // the map is cut short by the end of the file
  layout.data.clear();
  expectFailure(layout, "colour map");
}

// Every cut-off version of a valid file fails cleanly: header, map and pixel data alike.
TEST(TgaBadInput, EveryTruncationFailsWithoutReadingPastTheEnd) {
  TgaLayout layout;
  layout.imageType = 9;
  layout.depth = 8;
  layout.mapType = 1;
  layout.mapLength = 2;
  layout.mapBits = 32;
  layout.map = {1, 2, 3, 255, 4, 5, 6, 255};
  layout.width = 4;
  layout.height = 2;
  layout.data = {0x83, 1, 0x03, 0, 1, 0, 1};
  const auto bytes = buildTga(layout);
  ASSERT_TRUE(decodeTga(bytes.data(), bytes.size()).ok);
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    // A copy of exactly the cut length, so a tool like ASan sees any read past it.
    const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_FALSE(decodeTga(prefix.data(), prefix.size()).ok) << "cut at " << cut;
  }
  EXPECT_FALSE(decodeTga(nullptr, 0).ok);
}

// A fuzzing find: 115 bytes whose header claims 3855 x 3855 run-length pixels used to fill
// 57 MiB before the pixel data ran out. Pixel data too short for the picture, packed or not, is
// now refused first; data just long enough (one full run per 128 pixels) still decodes.
TEST(TgaBadInput, PixelDataTooShortForThePictureIsRefusedBeforeAllocating) {
  largestAllocation = 0;
  const DecodeResult found =
      loadTgaFile(std::string(MDX_SOURCE_DIR) + "/tests/limits/data/huge_rle_picture.tga");
  EXPECT_NE(found.error.find("ends inside the pixel data"), std::string::npos) << found.error;
  TgaLayout layout;
  layout.width = layout.height = 4096;
  layout.depth = 24;
  layout.data = {1, 2, 3};
  expectFailure(layout, "ends inside the pixel data");
  EXPECT_LT(largestAllocation, 100000u);

  layout.imageType = 11;
  layout.depth = 8;
  layout.width = 256;
  layout.height = 1;
  layout.data = {0xFF, 7, 0xFF, 9};
  const DecodeResult result = decode(layout);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.picture.pixels[255], 0xFF090909u);
}

TEST(TgaBadInput, RunPacketsSpillingPastThePictureStopAtItsEnd) {
  TgaLayout layout;
  layout.imageType = 11;
  layout.depth = 8;
  layout.width = 2;
  layout.data = {0xFF, 77};  // a run of 128 for a picture of 2 pixels
  const DecodeResult result = decode(layout);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.picture.pixels, (std::vector<uint32_t>{0xFF4D4D4Du, 0xFF4D4D4Du}));
}

TEST(TgaBadInput, ExtensionOffsetsPointingAnywhereAreIgnored) {
  TgaLayout layout;
  layout.data = {1, 2, 3, 0x80};
  auto bytes = buildTga(layout);
  // A footer whose extension offset points past the end, then at the header.
  for (uint32_t offset : {0xFFFFFFF0u, 3u}) {
    std::vector<uint8_t> file = bytes;
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(offset >> (8 * i)));
    for (int i = 0; i < 4; ++i) file.push_back(0);
    const char signature[] = "TRUEVISION-XFILE.";
    file.insert(file.end(), signature, signature + sizeof signature);
    const DecodeResult result = decodeTga(file.data(), file.size());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.picture.pixels[0], 0x80030201u);
  }
}

TEST(TgaBadInput, FilesThatAreNotPicturesFailWithAReason) {
  const std::string dir = testing::makeTempDir();
  EXPECT_NE(loadTgaFile(dir + "/missing.tga").error.find("cannot open"), std::string::npos);
  EXPECT_NE(loadTgaFile(dir).error.find("folder"), std::string::npos);
  testing::writeFile(dir + "/empty.tga", {});
  EXPECT_NE(loadTgaFile(dir + "/empty.tga").error.find("empty"), std::string::npos);
  testing::writeFile(dir + "/text.tga", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_FALSE(loadTgaFile(dir + "/text.tga").ok);
  TgaLayout layout;
  layout.data = {1, 2, 3, 4};
  testing::writeFile(dir + "/good.tga", buildTga(layout));
  EXPECT_TRUE(loadTgaFile(dir + "/good.tga").ok);
}

}  // namespace
}  // namespace mdx::gfx
