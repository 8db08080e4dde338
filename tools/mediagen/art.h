// The drawing of every picture the game loads. Each function paints onto a canvas of the
// picture's final size (see pictures.cpp for the sizes).
#pragma once

#include "mediagen/paint.h"

namespace mdx::media {

// Blocks 1 to 61: the solid cells of the grid, 19 x 19.
void drawBlock(Canvas& c, int code);

// Devices 1 to 13 (19 x 19, the exit 19 x 38, the swing bar 57 x 19).
void drawDevice(Canvas& c, int code);
// The robot, 19 x 38: frames 0 and 1 walk, 2 cheers at the exit, 3 falls.
void drawRobot(Canvas& c, int frame);
// The two turning exit lights, 25 x 38: 0 is drawn behind the blocks, 1 in front.
void drawExitLight(Canvas& c, int which);
// The explosion, 39 x 39.
void drawExplosion(Canvas& c);

// Text and interface pictures.
void drawMenu(Canvas& c, bool startChosen);
void drawReadySign(Canvas& c);
void drawLevelLabel(Canvas& c);
void drawCompleteBanner(Canvas& c);
void drawHint(Canvas& c);
void drawHowToPanel(Canvas& c);
void drawQuitPrompt(Canvas& c, bool ending);
void drawLogo(Canvas& c);
void drawEmblem(Canvas& c);
void drawMenuBar(Canvas& c);
void drawPlaceholder(Canvas& c);
void drawNextLabel(Canvas& c);
void drawTileBorder(Canvas& c);
// Piece type 0 (none) to 5 as a small icon on a panel, 25 x 25.
void drawTile(Canvas& c, int pieceType);
void drawDigit(Canvas& c, int digit);

// Scenery.
struct LandscapeTheme {
  uint32_t skyInner, skyOuter, ground, groundDark, accent, sun;
  bool night;
  uint32_t seed;
};
LandscapeTheme landscapeTheme(int index);
void drawLandscape(Canvas& c, const LandscapeTheme& theme);
// 0: the upper strip (hanging girders and clouds), 1: the lower strip (hills and machines).
void drawParallax(Canvas& c, int which);

}  // namespace mdx::media
