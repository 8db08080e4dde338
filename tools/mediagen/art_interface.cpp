// Title lettering, menu, signs, prompts, the next-piece tiles and the digits. The text
// pictures are light lettering on transparency: the game draws them once in black, one
// pixel down and right, and then over that in white or grey.
#include <cmath>
#include <string>

#include "mediagen/art.h"

namespace mdx::media {

namespace {

const Rgb kWhite = {1, 1, 1};
const Rgb kCream = hex(0xFFF3C4);
const Rgb kSky = hex(0xD8EEFF);
const Rgb kGold = hex(0xFFD75A);
const Rgb kNavy = hex(0x1D2B4A);

// The largest size up to `size` at which `text` fits in `width` pixels.
double fitSize(cairo_t* cr, Font font, double size, const std::string& text, double width) {
  const TextBox box = measureText(cr, font, size, text);
  return box.width > width ? size * width / box.width : size;
}

void fittedLetter(cairo_t* cr, Font font, double size, const std::string& text, double cx,
                  double baseline, double width, Rgb top, Rgb bottom, double rim = 1.2) {
  letter(cr, font, fitSize(cr, font, size, text, width), text, cx, baseline, top, bottom, rim);
}

}  // namespace

void drawMenu(Canvas& c, bool startChosen) {
  cairo_t* cr = c.cr();
  const double cx = c.width() / 2.0;
  const char* entries[] = {"START GAME", "QUIT"};
  for (int i = 0; i < 2; ++i) {
    const bool chosen = (i == 0) == startChosen;
    const double baseline = 15 + 44 * i + (chosen ? 9 : 7);
    if (chosen) {
      fittedLetter(cr, Font::Bold, 26, entries[i], cx, baseline, 220, kWhite, kGold, 1.6);
    } else {
      fittedLetter(cr, Font::Bold, 19, entries[i], cx, baseline, 200, hex(0xE4EAF2), hex(0xAEBBCB),
                   1.2);
    }
  }
}

void drawReadySign(Canvas& c) {
  cairo_t* cr = c.cr();
  cairo_set_line_width(cr, 1.4);
  setColour(cr, hex(0x8A96A6));
  cairo_move_to(cr, 14, 22);
  cairo_line_to(cr, 63, 2);
  cairo_line_to(cr, 112, 22);
  cairo_stroke(cr);
  rivet(cr, 63, 2.2, 2.2, hex(0xC8CED6));
  bevelBox(cr, 4, 19, 118, 41, 7, hex(0x2FA6B8));
  roundedRect(cr, 8, 23, 110, 33, 5);
  setColour(cr, darker(hex(0x2FA6B8), 0.35), 0.6);
  cairo_fill(cr);
  for (double x : {13.0, 113.0}) rivet(cr, x, 24.5, 1.5, hex(0xC8CED6));
  // The key that starts the level is the player's choice: the game writes it under the sign.
  fittedLetter(cr, Font::Bold, 22, "READY?", 63, 47, 96, kWhite, kGold, 1.3);
}

void drawLevelLabel(Canvas& c) {
  fittedLetter(c.cr(), Font::Bold, 17, "LEVEL", 34, 16.5, 66, kWhite, hex(0xE8EEF6), 0);
}

void drawCompleteBanner(Canvas& c) {
  fittedLetter(c.cr(), Font::Bold, 24, "LEVEL COMPLETE!", 175, 22.5, 340, kWhite, kGold, 1.3);
}

// The box of the first level's key help; the game writes the lines with the player's keys.
void drawHint(Canvas& c) {
  cairo_t* cr = c.cr();
  roundedRect(cr, 1, 1, 254, 100, 9);
  setColour(cr, kNavy, 0.55);
  cairo_fill(cr);
}

// The frame of the How to play pages: the ready sign's teal bevel with rivets at the corners
// around a dark see-through field, so the landscape shows faintly behind the examples.
void drawHowToPanel(Canvas& c) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  bevelBox(cr, 2, 2, w - 4, h - 4, 14, hex(0x2FA6B8));
  roundedRect(cr, 9, 9, w - 18, h - 18, 9);
  setColour(cr, kNavy, 0.82);
  cairo_fill(cr);
  for (double x : {9.0, w - 9.0}) {
    for (double y : {9.0, h - 9.0}) rivet(cr, x, y, 2.4, hex(0xC8CED6));
  }
}

void drawQuitPrompt(Canvas& c, bool ending) {
  cairo_t* cr = c.cr();
  roundedRect(cr, 1, 1, 136, 44, 8);
  setColour(cr, ending ? hex(0x4A2E6A) : kNavy, 0.6);
  cairo_fill(cr);
  // The line under it names the quit key, the player's choice: the game writes it.
  fittedLetter(cr, Font::Bold, 19, "Quit?", 69, 21, 120, kWhite, kGold, 1.2);
}

void drawLogo(Canvas& c) {
  cairo_t* cr = c.cr();
  const std::string word = "Marvolen";
  const double size = fitSize(cr, Font::Bold, 92, word, 500);
  // A soft dark drop under the lettering, then a thick navy outline, then the face.
  cairo_save(cr);
  cairo_translate(cr, 4, 5);
  textPathCentred(cr, Font::Bold, size, word, 262.5, 80);
  cairo_set_line_width(cr, 10);
  setColour(cr, kNavy, 0.35);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  textPathCentred(cr, Font::Bold, size, word, 262.5, 80);
  cairo_set_line_width(cr, 7);
  setColour(cr, kNavy);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 14, 0, 82);
  cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.96, 0.62);
  cairo_pattern_add_color_stop_rgb(p, 0.45, 1.0, 0.78, 0.22);
  cairo_pattern_add_color_stop_rgb(p, 0.5, 0.98, 0.6, 0.16);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.93, 0.38, 0.2);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // A glint along the top of the letters.
  cairo_save(cr);
  textPathCentred(cr, Font::Bold, size, word, 262.5, 80);
  cairo_clip(cr);
  cairo_rectangle(cr, 0, 20, 525, 9);
  setColour(cr, kWhite, 0.35);
  cairo_fill(cr);
  cairo_restore(cr);
}

void drawEmblem(Canvas& c) {
  cairo_t* cr = c.cr();
  cairo_save(cr);
  cairo_translate(cr, 75.5, 40);
  cairo_rotate(cr, -0.12);
  roundedRect(cr, -66, -31, 132, 62, 16);
  setColour(cr, kNavy);
  cairo_fill(cr);
  roundedRect(cr, -62, -27, 124, 54, 13);
  setVerticalGradient(cr, -27, 27, hex(0x46C6DA), hex(0x2178A8));
  cairo_fill(cr);
  for (double x : {-52.0, 52.0}) {
    for (double y : {-17.0, 17.0}) rivet(cr, x, y, 2.6, hex(0xC8CED6));
  }
  cairo_translate(cr, -75.5, -40);
  textPathCentred(cr, Font::Bold, 50, "DX", 75.5, 58);
  cairo_set_line_width(cr, 5);
  setColour(cr, kNavy);
  cairo_stroke_preserve(cr);
  setVerticalGradient(cr, 20, 58, kWhite, kGold);
  cairo_fill(cr);
  cairo_restore(cr);
}

void drawMenuBar(Canvas& c) {
  cairo_t* cr = c.cr();
  roundedRect(cr, 2, 3, 244, 42, 21);
  setVerticalGradient(cr, 3, 45, hex(0x7FE3F0), hex(0x2E88C8), 0.75);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 2);
  setColour(cr, kWhite, 0.85);
  cairo_stroke(cr);
  roundedRect(cr, 12, 6, 224, 12, 6);
  setColour(cr, kWhite, 0.3);
  cairo_fill(cr);
  for (double x : {20.0, 228.0}) rivet(cr, x, 24, 4, kGold);
}

void drawPlaceholder(Canvas& c) {
  setColour(c.cr(), {0.5, 0.5, 0.5}, 0.0);
  cairo_paint(c.cr());
}

// Under the piece bar: NOW under the first slot (the falling piece), NEXT under the two after.
void drawNextLabel(Canvas& c) {
  fittedLetter(c.cr(), Font::Bold, 13, "NOW", 14.5, 13, 28, kWhite, kGold, 1.0);
  fittedLetter(c.cr(), Font::Bold, 13, "NEXT", 62, 13, 56, kWhite, kCream, 1.0);
}

void drawTileBorder(Canvas& c) {
  cairo_t* cr = c.cr();
  roundedRect(cr, 1, 1, 25, 25, 5);
  cairo_set_line_width(cr, 2);
  setColour(cr, kGold);
  cairo_stroke(cr);
}

void drawTile(Canvas& c, int pieceType) {
  cairo_t* cr = c.cr();
  roundedRect(cr, 0.5, 0.5, 24, 24, 5);
  setVerticalGradient(cr, 0, 25, hex(0x3A4E78), kNavy, 0.85);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  setColour(cr, hex(0x8FB2E0), 0.9);
  cairo_stroke(cr);
  // Each piece as cells of a 3 x 4 box, 5 pixels per cell, centred on the tile.
  static const char* const kShapes[6] = {"............", ".l..l..l..L.", ".c..p..p..f.",
                                         "......bjb.s.", ".......jb.s.", "......bj..s."};
  const Rgb yellow = hex(0xF6B82E);
  for (int k = 0; k < 12; ++k) {
    const char cell = kShapes[pieceType][k];
    if (cell == '.') continue;
    const double x = 5 + (k % 3) * 5, y = 2.5 + (k / 3) * 5;
    if (cell == 'l') {
      setColour(cr, hex(0xB9C3CE));
      cairo_rectangle(cr, x + 0.5, y, 1, 5);
      cairo_rectangle(cr, x + 3.5, y, 1, 5);
      cairo_fill(cr);
    } else if (cell == 'L') {
      bevelBox(cr, x - 0.5, y + 1, 6, 4, 1, yellow);
    } else if (cell == 's' || cell == 'p' || cell == 'c' || cell == 'f') {
      bevelBox(cr, x + 0.5, y - (cell == 's' ? 0.5 : 0), 4, 5.5, 0.8, yellow);
    } else {
      bevelBox(cr, x - 0.1, y, 5.2, 5, 0.8, yellow);
    }
  }
  if (pieceType == 0) {
    setColour(cr, hex(0x8FB2E0), 0.6);
    cairo_arc(cr, 12.5, 12.5, 2, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

void drawDigit(Canvas& c, int digit) {
  const std::string text(1, char('0' + digit));
  letter(c.cr(), Font::Bold, 19, text, 6, 17, kWhite, hex(0xE8EEF6), 0);
}

}  // namespace mdx::media
