// Broken and hostile Targa files fail with a reason instead of crashing or allocating wildly.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "gfxlib/tga_decoder.h"
#include "tga_test_files.h"

namespace mdx::gfx {
namespace {

using testing::buildTga;
using testing::TgaSpec;

DecodeResult decode(const TgaSpec& spec) {
  const auto bytes = buildTga(spec);
  return decodeTga(bytes.data(), bytes.size());
}

void expectFailure(const TgaSpec& spec, const std::string& reasonPart) {
  const DecodeResult result = decode(spec);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find(reasonPart), std::string::npos) << "got: " << result.error;
}

TEST(TgaBadInput, SizesOutsideWhatTheGameCanUseAreRefused) {
  TgaSpec spec;
  spec.width = 0;
  expectFailure(spec, "zero");
  spec.width = 1;
  spec.height = 0;
  expectFailure(spec, "zero");
  // 65535 x 65535 would ask for 16 GiB; refused from the header alone.
  spec.width = spec.height = 65535;
  expectFailure(spec, "4096");
  spec.width = 4097;
  spec.height = 1;
  expectFailure(spec, "4096");
}

TEST(TgaBadInput, UnknownTypesAndDepthsAreRefused) {
  TgaSpec spec;
  spec.imageType = 0;
  expectFailure(spec, "image type");
  spec.imageType = 32;  // Huffman-compressed variants are not supported
  expectFailure(spec, "image type");
  spec.imageType = 2;
  spec.depth = 12;
  expectFailure(spec, "depth");
  spec.imageType = 3;
  spec.depth = 24;
  expectFailure(spec, "depth");
}

TEST(TgaBadInput, ColourMapProblemsAreRefused) {
  TgaSpec spec;
  spec.imageType = 1;
  spec.depth = 8;
  expectFailure(spec, "without a colour map");
  spec.mapType = 1;
  spec.mapLength = 2;
  spec.mapBits = 24;
  spec.map = {0, 0, 255, 0, 255, 0};
  spec.data = {2};  // only entries 0 and 1 exist
  expectFailure(spec, "index out of range");
  spec.mapFirst = 1;
  spec.data = {0};  // below the first entry
  expectFailure(spec, "index out of range");
  spec.map.resize(4);  // the map is cut short by the end of the file
  spec.data.clear();
  expectFailure(spec, "colour map");
}

// Every cut-off version of a valid file fails cleanly: header, map and pixel data alike.
TEST(TgaBadInput, EveryTruncationFailsWithoutReadingPastTheEnd) {
  TgaSpec spec;
  spec.imageType = 9;
  spec.depth = 8;
  spec.mapType = 1;
  spec.mapLength = 2;
  spec.mapBits = 32;
  spec.map = {1, 2, 3, 255, 4, 5, 6, 255};
  spec.width = 4;
  spec.height = 2;
  spec.data = {0x83, 1, 0x03, 0, 1, 0, 1};
  const auto bytes = buildTga(spec);
  ASSERT_TRUE(decodeTga(bytes.data(), bytes.size()).ok);
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    // A copy of exactly the cut length, so a tool like ASan sees any read past it.
    const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_FALSE(decodeTga(prefix.data(), prefix.size()).ok) << "cut at " << cut;
  }
  EXPECT_FALSE(decodeTga(nullptr, 0).ok);
}

TEST(TgaBadInput, RunPacketsSpillingPastThePictureStopAtItsEnd) {
  TgaSpec spec;
  spec.imageType = 11;
  spec.depth = 8;
  spec.width = 2;
  spec.data = {0xFF, 77};  // a run of 128 for a picture of 2 pixels
  const DecodeResult result = decode(spec);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.picture.pixels, (std::vector<uint32_t>{0xFF4D4D4Du, 0xFF4D4D4Du}));
}

TEST(TgaBadInput, ExtensionOffsetsPointingAnywhereAreIgnored) {
  TgaSpec spec;
  spec.data = {1, 2, 3, 0x80};
  auto bytes = buildTga(spec);
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
  TgaSpec spec;
  spec.data = {1, 2, 3, 4};
  testing::writeFile(dir + "/good.tga", buildTga(spec));
  EXPECT_TRUE(loadTgaFile(dir + "/good.tga").ok);
}

}  // namespace
}  // namespace mdx::gfx
