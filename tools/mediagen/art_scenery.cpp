// The landscapes (little round planets under a radial sky, so they read well at any
// angle the game turns them) and the two seamless parallax strips.
#include <cmath>

#include "mediagen/art.h"

namespace mdx::media {

namespace {

constexpr double kCentre = 400;
constexpr double kPlanet = 175;
constexpr double kStripPeriod = 639;

const LandscapeTheme kThemes[] = {
    {0xEAF8FF, 0x3F8FE0, 0x6CC04A, 0x3E8A3A, 0xF58A3A, 0xFFE36A, false, 11},
    {0xFFE9C2, 0xD0609A, 0xE0B064, 0xA9703C, 0x3FA7A3, 0xFFF2B0, false, 23},
    {0x4A5CA8, 0x0E1638, 0x9ED8E8, 0x4C7FA8, 0xF6B82E, 0xF4F0DC, true, 37},
    // The second pack's two: an ember dusk over ash and lava, and an aurora night over snow.
    {0xFFB36B, 0x5A1030, 0x5A4652, 0x2A1E2A, 0xFF5A1F, 0xFFD27A, false, 53},
    {0x2FD6B0, 0x0A0A2A, 0xDDE8F5, 0x8AA0C0, 0xB050E0, 0xE0F4FF, true, 71},
};

// Radius of the planet's hilly rim at angle a.
double rimRadius(const LandscapeTheme& t, double a) {
  const double phase = t.seed * 0.37;
  return kPlanet + 9 * std::sin(5 * a + phase) + 5 * std::sin(11 * a + 2 * phase) +
         3 * std::sin(17 * a + phase);
}

// Moves the origin onto the planet's surface at angle a, with "up" pointing outward.
void onSurface(cairo_t* cr, const LandscapeTheme& t, double a, double lift) {
  const double r = rimRadius(t, a) + lift;
  cairo_translate(cr, kCentre + r * std::cos(a), kCentre + r * std::sin(a));
  cairo_rotate(cr, a + M_PI / 2);
}

void cloud(cairo_t* cr, double x, double y, double angle, double size, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  const double puffs[][3] = {
      {-1.2, 0.2, 0.55}, {-0.45, -0.25, 0.75}, {0.4, -0.1, 0.65}, {1.1, 0.25, 0.45}, {0, 0.3, 0.6}};
  for (const auto& p : puffs) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, p[0] * size, p[1] * size, p[2] * size, 0, 2 * M_PI);
  }
  setColour(cr, {1, 1, 1}, alpha);
  cairo_fill(cr);
  cairo_restore(cr);
}

void sky(cairo_t* cr, const LandscapeTheme& t) {
  cairo_pattern_t* p =
      cairo_pattern_create_radial(kCentre, kCentre, kPlanet, kCentre, kCentre, 620);
  const Rgb in = hex(t.skyInner), out = hex(t.skyOuter);
  cairo_pattern_add_color_stop_rgb(p, 0, in.r, in.g, in.b);
  cairo_pattern_add_color_stop_rgb(p, 1, out.r, out.g, out.b);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
  Dice dice(t.seed);
  if (t.night) {
    for (int i = 0; i < 260; ++i) {
      const double x = dice.range(0, 830), y = dice.range(0, 830);
      glow(cr, x, y, dice.range(0.8, 2.4), {1, 1, 0.9}, dice.range(0.5, 1));
    }
  }
  // Faint rays around the planet, like a halo of light.
  for (int i = 0; i < 16; ++i) {
    const double a0 = i * M_PI / 8, a1 = a0 + M_PI / 16;
    cairo_move_to(cr, kCentre, kCentre);
    cairo_arc(cr, kCentre, kCentre, 700, a0, a1);
    cairo_close_path(cr);
  }
  setColour(cr, {1, 1, 1}, t.night ? 0.03 : 0.07);
  cairo_fill(cr);
  const double sunAngle = -0.9 - t.seed * 0.05, sunR = 300;
  const double sx = kCentre + sunR * std::cos(sunAngle), sy = kCentre + sunR * std::sin(sunAngle);
  glow(cr, sx, sy, 90, hex(t.sun), t.night ? 0.25 : 0.5);
  // The sun, or at night a crescent moon: the disc with an offset disc cut away.
  cairo_push_group(cr);
  cairo_arc(cr, sx, sy, 34, 0, 2 * M_PI);
  setColour(cr, hex(t.sun));
  cairo_fill(cr);
  if (t.night) {
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_arc(cr, sx + 14, sy - 10, 30, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  }
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
  for (int i = 0; i < 22; ++i) {
    const double a = i * 2 * M_PI / 22 + dice.range(-0.1, 0.1);
    const double r = dice.range(235, 390);
    cloud(cr, kCentre + r * std::cos(a), kCentre + r * std::sin(a), a + M_PI / 2,
          dice.range(14, 26), t.night ? 0.25 : 0.85);
  }
}

void planetBody(cairo_t* cr, const LandscapeTheme& t) {
  cairo_new_path(cr);
  for (int i = 0; i <= 720; ++i) {
    const double a = i * 2 * M_PI / 720;
    const double r = rimRadius(t, a);
    cairo_line_to(cr, kCentre + r * std::cos(a), kCentre + r * std::sin(a));
  }
  cairo_close_path(cr);
  cairo_pattern_t* p =
      cairo_pattern_create_radial(kCentre - 40, kCentre - 40, 20, kCentre, kCentre, kPlanet + 10);
  const Rgb g = hex(t.ground), d = hex(t.groundDark);
  cairo_pattern_add_color_stop_rgb(p, 0, d.r, d.g, d.b);
  cairo_pattern_add_color_stop_rgb(p, 0.8, g.r, g.g, g.b);
  cairo_pattern_add_color_stop_rgb(p, 1, lighter(g, 0.25).r, lighter(g, 0.25).g,
                                   lighter(g, 0.25).b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 4);
  setColour(cr, darker(d, 0.2), 0.6);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
  // Rings of soil and rock inside the planet.
  Dice dice(t.seed + 5);
  for (int i = 0; i < 40; ++i) {
    const double a = dice.range(0, 2 * M_PI), r = dice.range(20, kPlanet - 25);
    roundedRect(cr, kCentre + r * std::cos(a) - 6, kCentre + r * std::sin(a) - 4, 12, 8, 4);
    setColour(cr, darker(d, 0.25), 0.35);
    cairo_fill(cr);
  }
  // A big cog in the planet's core: it is a machine world.
  cairo_arc(cr, kCentre, kCentre, 46, 0, 2 * M_PI);
  setColour(cr, darker(d, 0.3), 0.5);
  cairo_fill(cr);
  for (int i = 0; i < 12; ++i) {
    cairo_save(cr);
    cairo_translate(cr, kCentre, kCentre);
    cairo_rotate(cr, i * M_PI / 6);
    cairo_rectangle(cr, 40, -7, 16, 14);
    cairo_restore(cr);
  }
  setColour(cr, darker(d, 0.3), 0.5);
  cairo_fill(cr);
  rivet(cr, kCentre, kCentre, 16, hex(t.accent));
}

void tree(cairo_t* cr, const LandscapeTheme& t, double height) {
  cairo_rectangle(cr, -2.5, -height * 0.5, 5, height * 0.5 + 4);
  setColour(cr, hex(0x7A5030));
  cairo_fill(cr);
  cairo_arc(cr, 0, -height * 0.65, height * 0.35, 0, 2 * M_PI);
  setColour(cr, t.night ? hex(0x3E7A8A) : darker(hex(t.ground), 0.25));
  cairo_fill(cr);
  glow(cr, -height * 0.12, -height * 0.78, height * 0.15, {1, 1, 1}, 0.35);
}

void windmill(cairo_t* cr, const LandscapeTheme& t, double height, double turn) {
  cairo_move_to(cr, -6, 4);
  cairo_line_to(cr, -2.5, -height);
  cairo_line_to(cr, 2.5, -height);
  cairo_line_to(cr, 6, 4);
  cairo_close_path(cr);
  setColour(cr, hex(0xF3F6FA));
  cairo_fill(cr);
  for (int i = 0; i < 3; ++i) {
    cairo_save(cr);
    cairo_translate(cr, 0, -height);
    cairo_rotate(cr, turn + i * 2 * M_PI / 3);
    roundedRect(cr, -2.5, -height * 0.55, 5, height * 0.55, 2.5);
    setColour(cr, hex(t.accent));
    cairo_fill(cr);
    cairo_restore(cr);
  }
  rivet(cr, 0, -height, 3.5, hex(0xC8CED6));
}

void factory(cairo_t* cr, const LandscapeTheme& t, double width) {
  bevelBox(cr, -width / 2, -26, width, 30, 3, hex(0xC9D3DE));
  bevelBox(cr, width / 2 - 14, -52, 10, 30, 2, hex(t.accent));
  for (int i = 0; i < 3; ++i) {
    glow(cr, width / 2 - 9 + i * 6, -62 - i * 12, 7 + i * 2.5, {1, 1, 1}, 0.7);
  }
  for (double x = -width / 2 + 6; x < width / 2 - 16; x += 11) {
    roundedRect(cr, x, -18, 7, 8, 1.5);
    setColour(cr, t.night ? hex(0xFFE890) : hex(0x5BB8E8));
    cairo_fill(cr);
  }
}

void tower(cairo_t* cr, const LandscapeTheme& t, double height) {
  cairo_set_line_width(cr, 2.4);
  setColour(cr, hex(0x5B6B7F));
  cairo_move_to(cr, -9, 4);
  cairo_line_to(cr, 0, -height);
  cairo_line_to(cr, 9, 4);
  for (double f = 0.2; f < 0.9; f += 0.2) {
    cairo_move_to(cr, -9 * (1 - f), 4 - (height + 4) * f);
    cairo_line_to(cr, 9 * (1 - f - 0.2), 4 - (height + 4) * (f + 0.2));
  }
  cairo_stroke(cr);
  glow(cr, 0, -height, 9, hex(0xFF5A4A), 0.9);
  (void)t;
}

void house(cairo_t* cr, const LandscapeTheme& t) {
  bevelBox(cr, -13, -20, 26, 24, 2, hex(0xFFF3DC));
  cairo_move_to(cr, -16, -18);
  cairo_line_to(cr, 0, -34);
  cairo_line_to(cr, 16, -18);
  cairo_close_path(cr);
  setColour(cr, hex(0xD8574A));
  cairo_fill(cr);
  roundedRect(cr, -4, -12, 8, 16, 1.5);
  setColour(cr, hex(t.accent));
  cairo_fill(cr);
}

void surfaceThings(cairo_t* cr, const LandscapeTheme& t) {
  Dice dice(t.seed * 3 + 1);
  const int count = 26;
  for (int i = 0; i < count; ++i) {
    const double a = i * 2 * M_PI / count + dice.range(-0.05, 0.05);
    cairo_save(cr);
    onSurface(cr, t, a, -3);
    switch (i % 6) {
      case 0:
        windmill(cr, t, dice.range(40, 56), dice.range(0, 2));
        break;
      case 1:
        tree(cr, t, dice.range(22, 34));
        break;
      case 2:
        factory(cr, t, dice.range(44, 60));
        break;
      case 3:
        tree(cr, t, dice.range(18, 28));
        break;
      case 4:
        tower(cr, t, dice.range(46, 64));
        break;
      default:
        house(cr, t);
        break;
    }
    cairo_restore(cr);
  }
}

}  // namespace

LandscapeTheme landscapeTheme(int index) {
  const int n = int(sizeof kThemes / sizeof kThemes[0]);
  LandscapeTheme theme = kThemes[index % n];
  theme.seed += uint32_t(index / n) * 101;
  return theme;
}

void drawLandscape(Canvas& c, const LandscapeTheme& theme) {
  cairo_t* cr = c.cr();
  sky(cr, theme);
  surfaceThings(cr, theme);
  planetBody(cr, theme);
  // A light haze keeps the background calmer than the play field drawn over it.
  setColour(cr, lighter(hex(theme.skyInner), 0.3), theme.night ? 0.08 : 0.16);
  cairo_paint(cr);
}

namespace {

// A function of x with period 639, for hill profiles.
double wave(double x, double a1, double a2, double a3, double phase) {
  const double w = 2 * M_PI / kStripPeriod;
  return a1 * std::sin(2 * w * x + phase) + a2 * std::sin(5 * w * x + 2 * phase) +
         a3 * std::sin(9 * w * x + phase * 0.5);
}

void hillBand(cairo_t* cr, double base, double a1, double a2, double a3, double phase, Rgb top,
              Rgb bottom, double height) {
  cairo_new_path(cr);
  cairo_move_to(cr, 0, height);
  for (int x = 0; x <= 640; ++x) cairo_line_to(cr, x, base + wave(x, a1, a2, a3, phase));
  cairo_line_to(cr, 640, height);
  cairo_close_path(cr);
  setVerticalGradient(cr, base - a1 - a2 - a3, height, top, bottom);
  cairo_fill(cr);
}

// Draws `draw` at x and at its copies one period left and right, so the strip wraps.
template <typename Draw>
void wrapped(cairo_t* cr, double x, double y, Draw draw) {
  for (double dx : {-kStripPeriod, 0.0, kStripPeriod}) {
    cairo_save(cr);
    cairo_translate(cr, x + dx, y);
    draw();
    cairo_restore(cr);
  }
}

void upperStrip(cairo_t* cr) {
  // A steel truss along the top edge with lamps hanging from it on cables.
  const Rgb steel = hex(0x5B6B7F);
  setVerticalGradient(cr, 0, 11, hex(0x8A9AAE), steel);
  cairo_rectangle(cr, 0, 0, 640, 3);
  cairo_rectangle(cr, 0, 9, 640, 2.5);
  cairo_fill(cr);
  const int bays = 27;
  const double bay = kStripPeriod / bays;
  cairo_set_line_width(cr, 1.6);
  setColour(cr, steel);
  for (int i = -1; i <= bays + 1; ++i) {
    cairo_move_to(cr, i * bay, 3);
    cairo_line_to(cr, i * bay + bay / 2, 9);
    cairo_line_to(cr, (i + 1) * bay, 3);
  }
  cairo_stroke(cr);
  const int lamps = 6;
  const Rgb lampColours[] = {hex(0xFFD75A), hex(0x7FE3F0), hex(0xFF8A6A)};
  for (int i = 0; i < lamps; ++i) {
    const double x = (i + 0.5) * kStripPeriod / lamps;
    const double drop = 18 + 8 * ((i * 5) % 3);
    wrapped(cr, x, 0, [&] {
      cairo_move_to(cr, 0, 11);
      cairo_line_to(cr, 0, drop);
      cairo_set_line_width(cr, 1);
      setColour(cr, hex(0x3A4656));
      cairo_stroke(cr);
      glow(cr, 0, drop + 5, 10, lampColours[i % 3], 0.55);
      cairo_arc(cr, 0, drop + 3, 5, M_PI, 2 * M_PI);
      setColour(cr, hex(0x3A4656));
      cairo_fill(cr);
      cairo_arc(cr, 0, drop + 4, 2.5, 0, M_PI);
      setColour(cr, lampColours[i % 3]);
      cairo_fill(cr);
    });
  }
}

void lowerStrip(cairo_t* cr) {
  // The hills stay low in the strip: the title robots fly just above them.
  hillBand(cr, 66, 6, 5, 2, 0.7, hex(0x9ED88A), hex(0x6AA85A), 100);
  // Things on the far hills: pylons and trees, spaced by the period.
  const int things = 9;
  for (int i = 0; i < things; ++i) {
    const double x = (i + 0.3) * kStripPeriod / things;
    const double y = 66 + wave(x, 6, 5, 2, 0.7) + 2;
    wrapped(cr, x, y, [&] {
      if (i % 3 == 0) {
        cairo_set_line_width(cr, 1.5);
        setColour(cr, hex(0x5B6B7F));
        cairo_move_to(cr, -5, 0);
        cairo_line_to(cr, 0, -22);
        cairo_line_to(cr, 5, 0);
        cairo_move_to(cr, -6, -17);
        cairo_line_to(cr, 6, -17);
        cairo_stroke(cr);
      } else {
        cairo_rectangle(cr, -1.5, -8, 3, 8);
        setColour(cr, hex(0x7A5030));
        cairo_fill(cr);
        cairo_arc(cr, 0, -13, 7, 0, 2 * M_PI);
        setColour(cr, hex(0x4E9A48));
        cairo_fill(cr);
      }
    });
  }
  hillBand(cr, 80, 4, 4, 1.5, 2.1, hex(0x7CC45E), hex(0x3E8A3A), 100);
  // A near road of tiles along the bottom.
  cairo_rectangle(cr, 0, 88, 640, 12);
  setColour(cr, hex(0x5B6B7F));
  cairo_fill(cr);
  const int marks = 27;
  setColour(cr, hex(0xF6D55C));
  for (int i = -1; i <= marks; ++i) {
    cairo_rectangle(cr, i * kStripPeriod / marks, 93, kStripPeriod / marks / 2, 2);
  }
  cairo_fill(cr);
}

}  // namespace

void drawParallax(Canvas& c, int which) {
  if (which == 0) {
    upperStrip(c.cr());
  } else {
    lowerStrip(c.cr());
  }
}

}  // namespace mdx::media
