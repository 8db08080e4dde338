// Drawing kit for the generated pictures: a Cairo canvas, colours, and the shapes and
// lettering that many pictures share (bevelled boxes, rivets, outlined text).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfxlib/tga_decoder.h"

namespace mdx::media {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

// 0xRRGGBB to a colour.
Rgb hex(uint32_t rgb);
// Linear blend from a (t = 0) to b (t = 1).
Rgb mix(Rgb a, Rgb b, double t);
Rgb lighter(Rgb c, double t);
Rgb darker(Rgb c, double t);

// A transparent ARGB picture with its own Cairo context; the context is cleared to
// transparent and uses the best antialiasing.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&&) = delete;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }

  // The pixels as unpremultiplied B, G, R, A bytes, top row first. Fully transparent pixels
  // take the colour of their visible neighbours so that filtered drawing shows no dark seams,
  // and opaque magenta is nudged off, because the game's loader treats it as a colour key.
  std::vector<uint8_t> straightBgra() const;
  // The same pixels as the game's picture type (0xAARRGGBB), ready for its TGA writer.
  gfx::Picture picture() const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Deterministic pseudo-random numbers for textures (same seed, same numbers everywhere).
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  uint32_t next();
  // Uniform in [lo, hi).
  double range(double lo, double hi);

 private:
  uint32_t state_;
};

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Sets a top-to-bottom gradient from `top` at y0 to `bottom` at y1 as the source.
void setVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1);
// A raised rounded box: gradient body, light upper-left rim, dark lower-right rim, outline.
void bevelBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb base);
// A small domed rivet or bolt head centred at (x, y).
void rivet(cairo_t* cr, double x, double y, double radius, Rgb base);
// A soft round glow: colour at the centre fading to nothing at `radius`.
void glow(cairo_t* cr, double x, double y, double radius, Rgb c, double alpha);

enum class Font { Bold, Regular, CondensedBold, SerifBold };

struct TextBox {
  double width = 0, height = 0, ascent = 0;
};

// Measures `text` at `size` pixels (ink box width, font ascent, ink height).
TextBox measureText(cairo_t* cr, Font font, double size, const std::string& text);
// Adds the outline of `text` to the path, horizontally centred on cx, baseline at `baseline`.
void textPathCentred(cairo_t* cr, Font font, double size, const std::string& text, double cx,
                     double baseline);
// Light lettering for the shadowed text pictures: a thin dark rim, then a light gradient fill
// from `top` to `bottom` over the glyph height.
void letter(cairo_t* cr, Font font, double size, const std::string& text, double cx,
            double baseline, Rgb top, Rgb bottom, double rimWidth = 1.4);

// Draws `text` as it is (no outline) with its baseline starting at (x, baseline).
void drawTextAt(cairo_t* cr, Font font, double size, const std::string& text, double x,
                double baseline);

// Releases the fonts and Cairo's caches; called once at the end of the program, after
// every canvas is gone.
void releaseFonts();

}  // namespace mdx::media
