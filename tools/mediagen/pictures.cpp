#include "pictures.h"

#include <cstdio>

#include "art.h"

namespace mdx::media {

namespace {

std::string numbered(const char* pattern, int n) {
  char name[64];
  std::snprintf(name, sizeof name, pattern, n);
  return name;
}

constexpr int kCell = 19;
constexpr int kLandscapeSide = 830;

}  // namespace

std::vector<PictureSpec> mediaPictures() {
  std::vector<PictureSpec> list;
  auto add = [&list](std::string file, int w, int h, std::function<void(Canvas&)> draw) {
    list.push_back({"media/" + file, w, h, std::move(draw)});
  };
  add("blank.tga", 8, 8, drawPlaceholder);
  add("prlx01.tga", 640, 44, [](Canvas& c) { drawParallax(c, 0); });
  add("prlx02.tga", 640, 100, [](Canvas& c) { drawParallax(c, 1); });
  add("lndscp01.tga", kLandscapeSide, kLandscapeSide,
      [](Canvas& c) { drawLandscape(c, landscapeTheme(0)); });
  add("logo.tga", 525, 102, drawLogo);
  add("dx.tga", 151, 80, drawEmblem);
  add("light01.tga", 25, 38, [](Canvas& c) { drawExitLight(c, 0); });
  add("light02.tga", 25, 38, [](Canvas& c) { drawExitLight(c, 1); });
  add("text01.tga", 230, 76, [](Canvas& c) { drawMenu(c, false); });
  add("text02.tga", 230, 76, [](Canvas& c) { drawMenu(c, true); });
  add("text03.tga", 126, 62, drawReadySign);
  add("text04.tga", 70, 20, drawLevelLabel);
  add("text05.tga", 350, 27, drawCompleteBanner);
  add("text06.tga", 256, 66, drawHint);
  add("text07.tga", 138, 46, [](Canvas& c) { drawQuitPrompt(c, false); });
  add("text08.tga", 138, 46, [](Canvas& c) { drawQuitPrompt(c, true); });
  add("rect01.tga", 248, 48, drawMenuBar);
  add("rect02.tga", 8, 8, drawPlaceholder);
  add("textnext.tga", 60, 16, drawNextLabel);
  add("border.tga", 27, 27, drawTileBorder);
  for (int t = 0; t <= 5; ++t) {
    add(numbered("tile%02d.tga", t), 25, 25, [t](Canvas& c) { drawTile(c, t); });
  }
  for (int d = 0; d <= 9; ++d) {
    add(numbered("%d.tga", d), 12, 20, [d](Canvas& c) { drawDigit(c, d); });
  }
  add("explode1.tga", 39, 39, drawExplosion);
  for (int b = 1; b <= 61; ++b) {
    add(numbered("block%03d.tga", b), kCell, kCell, [b](Canvas& c) { drawBlock(c, b); });
  }
  for (int d = 1; d <= 13; ++d) {
    const int w = d == 6 ? 3 * kCell : kCell;
    const int h = d == 8 ? 2 * kCell : kCell;
    add(numbered("block%03d.tga", 100 + d), w, h, [d](Canvas& c) { drawDevice(c, d); });
  }
  for (int f = 0; f < 4; ++f) {
    add(numbered("marvo%02d.tga", f + 1), kCell, 2 * kCell, [f](Canvas& c) { drawRobot(c, f); });
  }
  return list;
}

std::vector<PictureSpec> packPictures(const std::string& packFolder, int packIndex) {
  std::vector<PictureSpec> list;
  for (int i = 0; i < 2; ++i) {
    const int theme = 1 + 2 * packIndex + i;
    list.push_back({packFolder + numbered("/lndscp%02d.tga", 2 + i), kLandscapeSide, kLandscapeSide,
                    [theme](Canvas& c) { drawLandscape(c, landscapeTheme(theme)); }});
  }
  return list;
}

}  // namespace mdx::media
