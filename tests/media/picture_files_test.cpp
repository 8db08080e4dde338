// The pictures in the assembled game folder: every file the game loads is there, has the
// size its drawing expects, keeps a usable alpha channel, and never uses the colour key.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tga_reader.h"

namespace mdx::media::test {
namespace {

const std::string kGame = MDX_GAME_DIR;

TgaPicture load(const std::string& file) {
  TgaPicture p;
  std::string error;
  EXPECT_TRUE(readTga(kGame + "/" + file, p, error)) << error;
  return p;
}

std::string numbered(const char* pattern, int n) {
  char name[64];
  std::snprintf(name, sizeof name, pattern, n);
  return name;
}

struct SizeRule {
  std::string file;
  int width, height;
};

// Sizes fixed by where and how the game draws each picture.
std::vector<SizeRule> exactSizes() {
  std::vector<SizeRule> rules = {
      {"media/marvo01.tga", 19, 38},  {"media/marvo02.tga", 19, 38},  {"media/marvo03.tga", 19, 38},
      {"media/marvo04.tga", 19, 38},  {"media/light01.tga", 25, 38},  {"media/light02.tga", 25, 38},
      {"media/explode1.tga", 39, 39}, {"media/border.tga", 27, 27},   {"media/logo.tga", 525, 102},
      {"media/dx.tga", 151, 80},      {"media/rect01.tga", 248, 48},  {"media/text05.tga", 350, 27},
      {"media/block106.tga", 57, 19}, {"media/block108.tga", 19, 38},
  };
  for (int b = 1; b <= 61; ++b) rules.push_back({numbered("media/block%03d.tga", b), 19, 19});
  for (int d : {1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13}) {
    rules.push_back({numbered("media/block%03d.tga", 100 + d), 19, 19});
  }
  for (int t = 0; t <= 5; ++t) rules.push_back({numbered("media/tile%02d.tga", t), 25, 25});
  return rules;
}

TEST(PictureFiles, DrawnPicturesHaveTheirExactSizes) {
  for (const SizeRule& rule : exactSizes()) {
    const TgaPicture p = load(rule.file);
    EXPECT_EQ(p.width, rule.width) << rule.file;
    EXPECT_EQ(p.height, rule.height) << rule.file;
  }
}

TEST(PictureFiles, TextPicturesFitTheirPlaces) {
  for (int d = 0; d <= 9; ++d) {
    const TgaPicture p = load(numbered("media/%d.tga", d));
    EXPECT_LE(p.width, 12);
    EXPECT_LE(p.height, 20);
  }
  EXPECT_LE(load("media/text04.tga").width, 70);  // the label must end before the digits
  EXPECT_EQ(load("media/text03.tga").width, 126);
  // The menu entries sit 44 pixels apart under a bar 48 high: the picture spans both.
  const TgaPicture menu = load("media/text01.tga");
  EXPECT_GE(menu.height, 44 + 20);
  EXPECT_LE(menu.width, 248);
  EXPECT_EQ(load("media/text02.tga").width, menu.width);
  for (const char* f :
       {"media/text06.tga", "media/text07.tga", "media/text08.tga", "media/textnext.tga"}) {
    const TgaPicture p = load(f);
    EXPECT_GT(p.width, 0) << f;
    EXPECT_LE(p.width, 640) << f;
  }
}

TEST(PictureFiles, EveryPictureIsA32BitTargaWithRealAlpha) {
  std::vector<std::string> files = {
      "media/blank.tga",    "media/rect02.tga",      "media/prlx01.tga",     "media/prlx02.tga",
      "media/lndscp01.tga", "mappack1/lndscp02.tga", "mappack1/lndscp03.tga"};
  for (int t = 1; t <= 8; ++t) files.push_back(numbered("media/text%02d.tga", t));
  for (int d = 0; d <= 9; ++d) files.push_back(numbered("media/%d.tga", d));
  files.push_back("media/textnext.tga");
  for (const SizeRule& rule : exactSizes()) files.push_back(rule.file);
  for (const std::string& f : files) {
    const TgaPicture p = load(f);
    EXPECT_EQ(p.imageType, 2) << f;
    EXPECT_EQ(p.bitsPerPixel, 32) << f;
    EXPECT_EQ(p.descriptor & 0x0F, 8) << f;
    EXPECT_TRUE(p.hasFooter) << f;
    EXPECT_EQ(p.attributesType, 3) << f;
    for (size_t i = 0; i + 3 < p.bgra.size(); i += 4) {
      const bool magenta =
          p.bgra[i] == 255 && p.bgra[i + 1] == 0 && p.bgra[i + 2] == 255 && p.bgra[i + 3] == 255;
      ASSERT_FALSE(magenta) << f << " uses the transparent colour key at byte " << i;
    }
  }
}

double alphaAt(const TgaPicture& p, int x, int y) {
  return p.bgra[(size_t(y) * p.width + x) * 4 + 3] / 255.0;
}

TEST(PictureFiles, LandscapesCoverEveryTurnAboutTheirCentre) {
  for (const char* f : {"media/lndscp01.tga", "mappack1/lndscp02.tga", "mappack1/lndscp03.tga"}) {
    const TgaPicture p = load(f);
    ASSERT_GE(p.width, 800) << f;
    ASSERT_GE(p.height, 800) << f;
    // Every pixel within 400 of the turning point must be opaque.
    for (int y = 0; y < p.height; y += 3) {
      for (int x = 0; x < p.width; x += 3) {
        const double dx = x + 0.5 - 400, dy = y + 0.5 - 400;
        if (dx * dx + dy * dy <= 400.0 * 400.0) {
          ASSERT_EQ(alphaAt(p, x, y), 1.0) << f;
        }
      }
    }
  }
}

TEST(PictureFiles, ParallaxStripsJoinSeamlesslyAt639Pixels) {
  for (const char* f : {"media/prlx01.tga", "media/prlx02.tga"}) {
    const TgaPicture p = load(f);
    ASSERT_EQ(p.width, 640) << f;
    int visible = 0;
    for (int y = 0; y < p.height; ++y) {
      const uint8_t* first = &p.bgra[size_t(y) * p.width * 4];
      const uint8_t* last = first + 639 * 4;
      if (first[3] > 0) ++visible;
      // Compare what shows: colour weighted by alpha.
      EXPECT_NEAR(first[3], last[3], 24) << f << " row " << y;
      for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(first[c] * first[3] / 255, last[c] * last[3] / 255, 24)
            << f << " row " << y << " channel " << c;
      }
    }
    EXPECT_GT(visible, 0) << f;
  }
}

// Text pictures are drawn black one pixel down and right, then tinted over it: their own
// visible pixels must be light, or the shadow swallows them.
TEST(PictureFiles, TextPicturesAreLightLetteringOnTransparency) {
  for (const char* f : {"media/text04.tga", "media/text05.tga", "media/textnext.tga", "media/0.tga",
                        "media/7.tga"}) {
    const TgaPicture p = load(f);
    double lightSum = 0, weight = 0;
    int clear = 0;
    for (size_t i = 0; i < p.bgra.size(); i += 4) {
      const double a = p.bgra[i + 3] / 255.0;
      if (a == 0) ++clear;
      const double luma = (0.11 * p.bgra[i] + 0.59 * p.bgra[i + 1] + 0.3 * p.bgra[i + 2]) / 255;
      lightSum += luma * a;
      weight += a;
    }
    ASSERT_GT(weight, 5) << f << " shows nothing";
    EXPECT_GT(lightSum / weight, 0.6) << f;
    EXPECT_GT(clear, int(p.bgra.size() / 4 / 4)) << f << " has too little transparency";
  }
}

TEST(PictureFiles, ConveyorsLeaveTheWheelVisible) {
  // The wheel turns under the conveyors at three quarters of its size, from (2, 2).
  for (int code : {42, 43, 44, 49, 50, 51}) {
    const TgaPicture p = load(numbered("media/block%03d.tga", code));
    int open = 0;
    for (int y = 4; y < 15; ++y) {
      for (int x = 4; x < 15; ++x) open += alphaAt(p, x, y) < 0.5;
    }
    EXPECT_GT(open, 11 * 11 / 2) << code;
  }
}

}  // namespace
}  // namespace mdx::media::test
