// Text through the SDL back end, and the message boxes' stderr line and switch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "gfxlib/sdl_message_boxes.h"
#include "gfxlib/text_writer.h"
#include "sdl_canvas.h"

namespace mdx::gfx {
namespace {

using TextPixels = testing::SdlCanvas;

TEST_F(TextPixels, WriterDrawsNothingAndFailsBeforeCreate) {
  TextWriter writer;
  EXPECT_EQ(writer.draw("Marvolen", 10, 10), kFail);
  grab();
  EXPECT_EQ(litPixels(), 0);
}

TEST_F(TextPixels, LineIsDrawnBelowAndRightOfItsPointInTheWritersColour) {
  TextWriter writer;
  ASSERT_EQ(writer.create(*backend, 0xFFFFFFFFu), kOk);
  const int32_t height = writer.draw("Marvolen DX", 50, 60);
  // Close to the old system font's line of about 16 pixels.
  EXPECT_GE(height, 13);
  EXPECT_LE(height, 19);
  grab();
  int inside = 0, outside = 0, white = 0;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      if ((at(x, y) & 0xFFFFFFu) == 0) continue;
      const bool inBox = x >= 50 && x < 150 && y >= 60 && y < 60 + height;
      (inBox ? inside : outside) += 1;
      white += at(x, y) == 0xFFFFFFFFu;
    }
  }
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
  EXPECT_GT(white, 10);
}

TEST_F(TextPixels, BlackWriterOverWhiteAndLineBreaksAddLines) {
  const TextureId paper = backend->createTexture(testing::solidPicture(200, 60, 0xFFFFFFFFu));
  backend->drawSprite(paper, SpriteDraw{0, 0});
  TextWriter black;
  black.create(*backend, 0xFF000000u);
  const int32_t one = black.draw("Level", 5, 5);
  const int32_t two = black.draw("Level\nTwo", 100, 5);
  EXPECT_EQ(two, 2 * one);
  grab();
  int dark = 0;
  for (int y = 5; y < 5 + one; ++y)
    for (int x = 5; x < 60; ++x) dark += (at(x, y) & 0xFFFFFFu) < 0x404040u;
  EXPECT_GT(dark, 20);
}

TEST_F(TextPixels, MissingFontLeavesTheWriterReadyButSilent) {
  SdlBackend noFonts(display->renderer(), {"no/such/font.ttf"});
  EXPECT_EQ(noFonts.createFont(), 0);
  EXPECT_NE(noFonts.lastError().find("no font"), std::string::npos);
  TextWriter writer;
  writer.create(noFonts, 0xFFFFFFFFu);
  EXPECT_EQ(writer.ready, 1);
  EXPECT_EQ(writer.draw("Marvolen", 10, 10), 0);
  grab();
  EXPECT_EQ(litPixels(), 0);
}

TEST_F(TextPixels, TextStillDrawsAfterAnotherBackEndIsGone) {
  auto other = std::make_unique<SdlBackend>(display->renderer());
  EXPECT_NE(other->createFont(), 0);  // the first to start the font library
  TextWriter writer;
  writer.create(*backend, 0xFFFFFFFFu);
  other.reset();
  EXPECT_GT(writer.draw("Marvolen", 10, 10), 0);
  grab();
  EXPECT_GT(litPixels(), 20);
}

TEST(MessageBoxes, EveryMessageIsAlsoACaptionedLineOnTheLog) {
  setenv("MDX_NO_MESSAGE_BOXES", "1", 1);
  std::ostringstream log;
  SdlMessageBoxes boxes(&log);
  EXPECT_FALSE(SdlMessageBoxes::boxesEnabled());
  boxes.showMessage("media/block007.tga", "Critical error", world::MessageIcon::Information);
  boxes.showMessage("Cannot Create Device!", "MarvolenDX: Error", world::MessageIcon::Error);
  EXPECT_EQ(log.str(),
            "Critical error: media/block007.tga\nMarvolenDX: Error: Cannot Create Device!\n");
}

TEST(MessageBoxes, HeadlessVideoDriversNeverShowBoxes) {
  setenv("MDX_NO_MESSAGE_BOXES", "0", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_FALSE(SdlMessageBoxes::boxesEnabled());
  setenv("MDX_NO_MESSAGE_BOXES", "1", 1);
}

}  // namespace
}  // namespace mdx::gfx
