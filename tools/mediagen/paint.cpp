#include "mediagen/paint.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <utility>

#ifndef MDX_FONT_DIR
#define MDX_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace mdx::media {

Rgb hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb lighter(Rgb c, double t) {
  return mix(c, {1, 1, 1}, t);
}
Rgb darker(Rgb c, double t) {
  return mix(c, {0, 0, 0}, t);
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_BEST);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      surface_(std::exchange(other.surface_, nullptr)),
      cr_(std::exchange(other.cr_, nullptr)) {}

gfx::Picture Canvas::picture() const {
  const std::vector<uint8_t> bgra = straightBgra();
  gfx::Picture picture;
  picture.width = width_;
  picture.height = height_;
  picture.pixels.reserve(bgra.size() / 4);
  for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
    picture.pixels.push_back(uint32_t(bgra[i]) | uint32_t(bgra[i + 1]) << 8 |
                             uint32_t(bgra[i + 2]) << 16 | uint32_t(bgra[i + 3]) << 24);
  }
  return picture;
}

std::vector<uint8_t> Canvas::straightBgra() const {
  cairo_surface_flush(surface_);
  const uint8_t* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  std::vector<uint8_t> out(size_t(width_) * height_ * 4);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      uint32_t p;
      std::copy_n(data + y * stride + x * 4, 4, reinterpret_cast<uint8_t*>(&p));
      const uint32_t a = p >> 24;
      uint8_t* o = &out[(size_t(y) * width_ + x) * 4];
      o[3] = uint8_t(a);
      for (int c = 0; c < 3; ++c) {
        const uint32_t v = (p >> (8 * c)) & 0xFF;
        o[c] = a == 0 ? 0 : uint8_t(std::min<uint32_t>(255, (v * 255 + a / 2) / a));
      }
      if (a == 255 && o[2] == 255 && o[1] == 0 && o[0] == 255) o[1] = 1;
    }
  }
  // Spread colour into the transparent border, a few pixels deep.
  for (int pass = 0; pass < 3; ++pass) {
    std::vector<uint8_t> next = out;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        uint8_t* o = &next[(size_t(y) * width_ + x) * 4];
        const uint8_t* src = &out[(size_t(y) * width_ + x) * 4];
        if (src[3] != 0 || (src[0] | src[1] | src[2]) != 0) continue;
        int sum[3] = {0, 0, 0}, n = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
            const uint8_t* q = &out[(size_t(ny) * width_ + nx) * 4];
            if (q[3] == 0 && (q[0] | q[1] | q[2]) == 0) continue;
            for (int c = 0; c < 3; ++c) sum[c] += q[c];
            ++n;
          }
        }
        if (n == 0) continue;
        for (int c = 0; c < 3; ++c) o[c] = uint8_t(std::max(1, sum[c] / n));
      }
    }
    out.swap(next);
  }
  return out;
}

uint32_t Dice::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Dice::range(double lo, double hi) {
  return lo + (hi - lo) * (next() / 4294967296.0);
}

void setColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void setVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void bevelBox(cairo_t* cr, double x, double y, double w, double h, double r, Rgb base) {
  roundedRect(cr, x, y, w, h, r);
  setVerticalGradient(cr, y, y + h, lighter(base, 0.25), darker(base, 0.15));
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  // Light rim on the upper left, dark rim on the lower right.
  cairo_move_to(cr, x + 1, y + h - 1.5);
  cairo_line_to(cr, x + 1, y + 1);
  cairo_line_to(cr, x + w - 1.5, y + 1);
  setColour(cr, lighter(base, 0.55), 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, x + w - 1, y + 1.5);
  cairo_line_to(cr, x + w - 1, y + h - 1);
  cairo_line_to(cr, x + 1.5, y + h - 1);
  setColour(cr, darker(base, 0.35), 0.9);
  cairo_stroke(cr);
  roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
  setColour(cr, darker(base, 0.55), 0.8);
  cairo_stroke(cr);
}

void rivet(cairo_t* cr, double x, double y, double radius, Rgb base) {
  cairo_pattern_t* p =
      cairo_pattern_create_radial(x - radius * 0.4, y - radius * 0.4, 0, x, y, radius);
  const Rgb hi = lighter(base, 0.7), lo = darker(base, 0.45);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
  cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void glow(cairo_t* cr, double x, double y, double radius, Rgb c, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, radius);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.4, c.r, c.g, c.b, alpha * 0.55);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

namespace {

struct FontTable {
  FT_Library library = nullptr;
  std::array<FT_Face, 4> faces{};
  std::array<cairo_font_face_t*, 4> cairoFaces{};
};

FontTable& fonts() {
  static FontTable table;
  return table;
}

std::mutex fontMutex;

cairo_font_face_t* fontFace(Font font) {
  static const char* const kFiles[] = {"DejaVuSans-Bold.ttf", "DejaVuSans.ttf",
                                       "DejaVuSansCondensed-Bold.ttf", "DejaVuSerif-Bold.ttf"};
  std::lock_guard<std::mutex> lock(fontMutex);
  FontTable& t = fonts();
  const int i = int(font);
  if (t.cairoFaces[i]) return t.cairoFaces[i];
  if (!t.library) FT_Init_FreeType(&t.library);
  const std::string path = std::string(MDX_FONT_DIR) + "/" + kFiles[i];
  if (t.library && FT_New_Face(t.library, path.c_str(), 0, &t.faces[i]) == 0) {
    t.cairoFaces[i] = cairo_ft_font_face_create_for_ft_face(t.faces[i], 0);
  } else {
    std::fprintf(stderr, "mediagen: font %s not found; using the system's sans font\n",
                 path.c_str());
    t.cairoFaces[i] = cairo_toy_font_face_create(
        "sans-serif", CAIRO_FONT_SLANT_NORMAL,
        font == Font::Regular ? CAIRO_FONT_WEIGHT_NORMAL : CAIRO_FONT_WEIGHT_BOLD);
  }
  return t.cairoFaces[i];
}

void selectFont(cairo_t* cr, Font font, double size) {
  cairo_set_font_face(cr, fontFace(font));
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

}  // namespace

TextBox measureText(cairo_t* cr, Font font, double size, const std::string& text) {
  selectFont(cr, font, size);
  cairo_text_extents_t te;
  cairo_text_extents(cr, text.c_str(), &te);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  return {te.width, te.height, fe.ascent};
}

void textPathCentred(cairo_t* cr, Font font, double size, const std::string& text, double cx,
                     double baseline) {
  selectFont(cr, font, size);
  cairo_text_extents_t te;
  cairo_text_extents(cr, text.c_str(), &te);
  cairo_move_to(cr, cx - te.width / 2 - te.x_bearing, baseline);
  cairo_text_path(cr, text.c_str());
}

void letter(cairo_t* cr, Font font, double size, const std::string& text, double cx,
            double baseline, Rgb top, Rgb bottom, double rimWidth) {
  cairo_new_path(cr);
  textPathCentred(cr, font, size, text, cx, baseline);
  if (rimWidth > 0) {
    cairo_set_line_width(cr, rimWidth * 2);
    cairo_set_source_rgba(cr, 0.12, 0.16, 0.28, 0.75);
    cairo_stroke_preserve(cr);
  }
  setVerticalGradient(cr, baseline - size * 0.75, baseline, top, bottom);
  cairo_fill(cr);
}

void drawTextAt(cairo_t* cr, Font font, double size, const std::string& text, double x,
                double baseline) {
  selectFont(cr, font, size);
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, text.c_str());
}

void releaseFonts() {
  std::lock_guard<std::mutex> lock(fontMutex);
  FontTable& t = fonts();
  for (int i = 0; i < 4; ++i) {
    if (t.cairoFaces[i]) cairo_font_face_destroy(t.cairoFaces[i]);
    t.cairoFaces[i] = nullptr;
  }
  // Cairo keeps glyph caches that still point at the FreeType faces: drop them first.
  cairo_debug_reset_static_data();
  for (int i = 0; i < 4; ++i) {
    if (t.faces[i]) FT_Done_Face(t.faces[i]);
    t.faces[i] = nullptr;
  }
  if (t.library) FT_Done_FreeType(t.library);
  t.library = nullptr;
}

}  // namespace mdx::media
