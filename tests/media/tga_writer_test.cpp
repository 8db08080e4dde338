// The Targa writer against our own reader: header fields, pixel order and the footer.
#include "gfxlib/tga_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "mediagen/paint.h"
#include "tga_reader.h"

namespace mdx::media {
namespace {

namespace fs = std::filesystem;

TEST(TgaWriter, WritesTopRowFirstWithStraightAlpha) {
  Canvas canvas(3, 2);
  cairo_t* cr = canvas.cr();
  cairo_set_source_rgba(cr, 1, 0, 0, 0.5);  // top-left pixel: half-transparent red
  cairo_rectangle(cr, 0, 0, 1, 1);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 0, 0, 1, 1);  // bottom-right pixel: opaque blue
  cairo_rectangle(cr, 2, 1, 1, 1);
  cairo_fill(cr);
  const fs::path path =
      fs::temp_directory_path() / ("mdx-tga-writer-" + std::to_string(getpid()) + ".tga");
  ASSERT_TRUE(gfx::saveTga(path.string(), canvas.picture()));
  std::string error;
  test::TgaPicture p;
  ASSERT_TRUE(test::readTga(path.string(), p, error)) << error;
  fs::remove(path);
  EXPECT_EQ(p.width, 3);
  EXPECT_EQ(p.height, 2);
  EXPECT_EQ(p.descriptor, 0x28);
  EXPECT_EQ(p.attributesType, 3);
  // Unpremultiplied: the half-transparent red keeps full red.
  EXPECT_EQ(p.bgra[2], 255);
  EXPECT_NEAR(p.bgra[3], 128, 1);
  const uint8_t* last = &p.bgra[(1 * 3 + 2) * 4];
  EXPECT_EQ(last[0], 255);
  EXPECT_EQ(last[2], 0);
  EXPECT_EQ(last[3], 255);
}

TEST(TgaWriter, NudgesOpaqueMagentaOffTheColourKey) {
  Canvas canvas(2, 2);
  cairo_set_source_rgb(canvas.cr(), 1, 0, 1);
  cairo_paint(canvas.cr());
  const std::vector<uint8_t> pixels = canvas.straightBgra();
  for (size_t i = 0; i < pixels.size(); i += 4) {
    EXPECT_FALSE(pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 255 &&
                 pixels[i + 3] == 255);
  }
}

TEST(TgaWriter, TransparentBorderTakesTheNeighbourColour) {
  Canvas canvas(4, 1);
  cairo_set_source_rgb(canvas.cr(), 1, 1, 1);
  cairo_rectangle(canvas.cr(), 0, 0, 1, 1);
  cairo_fill(canvas.cr());
  const std::vector<uint8_t> pixels = canvas.straightBgra();
  EXPECT_EQ(pixels[4 + 3], 0);    // still transparent
  EXPECT_EQ(pixels[4 + 0], 255);  // but white, so filtering shows no dark fringe
}

TEST(TgaWriter, RefusesSizesThatDoNotMatchThePixels) {
  EXPECT_TRUE(gfx::encodeTga({2, 2, std::vector<uint32_t>(3)}).empty());
  EXPECT_TRUE(gfx::encodeTga({0, 2, {}}).empty());
  EXPECT_TRUE(gfx::encodeTga({70000, 1, std::vector<uint32_t>(70000)}).empty());
}

}  // namespace
}  // namespace mdx::media
