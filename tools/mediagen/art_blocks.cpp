// Blocks 1 to 61: bricks, stone, metal, wood, glass, pipes, conveyors and the bright
// yellow construction parts that the falling pieces are built from.
#include <cmath>

#include "art.h"

namespace mdx::media {

namespace {

enum class Style {
  Grass,
  Brick,
  Stone,
  Metal,
  Wood,
  Glass,
  PipeH,
  PipeV,
  PipeCorner,
  Girder,
  Checker,
  Hazard,
  Vent,
  Panel,
  Ice,
  Gold,
  Cobble,
  Circuit,
  Sand,
  BeamLeft,
  BeamRight,
  BeamMid,
  BeamStart,
  BeamEnd,
  Stem,
  PillarCap,
  PillarBody,
  PillarFoot,
  Conveyor
};

struct BlockLook {
  Style style;
  uint32_t colour;
  int variant;
};

constexpr uint32_t kPieceYellow = 0xF6B82E;

// Index = block code; entry 0 is unused.
const BlockLook kBlocks[62] = {
    {Style::Grass, 0x6CC04A, 0},
    {Style::Grass, 0x6CC04A, 0},
    {Style::BeamLeft, kPieceYellow, 0},
    {Style::Brick, 0xC8553D, 0},
    {Style::BeamRight, kPieceYellow, 0},
    {Style::PillarBody, kPieceYellow, 0},
    {Style::Stone, 0x9AA3AD, 0},
    {Style::Metal, 0x5B8FD0, 0},
    {Style::Wood, 0xC98D4E, 0},
    {Style::Glass, 0x9FE3F5, 0},
    {Style::BeamStart, kPieceYellow, 0},
    {Style::BeamEnd, kPieceYellow, 0},
    {Style::PipeH, 0x4DB35A, 0},
    {Style::PipeV, 0x4DB35A, 0},
    {Style::PipeCorner, 0x4DB35A, 0},
    {Style::Girder, 0x3FA7A3, 0},
    {Style::BeamMid, kPieceYellow, 0},
    {Style::Stem, kPieceYellow, 0},
    {Style::Checker, 0xE9EEF3, 0},
    {Style::Hazard, 0xF2C230, 0},
    {Style::Vent, 0x7F8C99, 0},
    {Style::Panel, 0x34A6B8, 0},
    {Style::Ice, 0xBDEBFF, 0},
    {Style::Gold, 0xF0C240, 0},
    {Style::Cobble, 0xA3978A, 0},
    {Style::Circuit, 0x2E8F5A, 0},
    {Style::Sand, 0xE8CF8E, 0},
    {Style::Brick, 0xE0A040, 1},
    {Style::Metal, 0x5DB870, 1},
    {Style::Stone, 0x6C7480, 1},
    {Style::PillarCap, kPieceYellow, 0},
    {Style::Wood, 0x8E5B33, 1},
    {Style::Glass, 0x7FA8FF, 1},
    {Style::PipeH, 0xD08A3C, 1},
    {Style::PipeV, 0xD08A3C, 1},
    {Style::PipeCorner, 0xD08A3C, 1},
    {Style::Grass, 0xF4F8FF, 1},
    {Style::Metal, 0xD8584E, 2},
    {Style::Panel, 0x9A6AD0, 1},
    {Style::Cobble, 0x7FA36A, 1},
    {Style::Brick, 0x8C7FA8, 2},
    {Style::Checker, 0x8FC4F0, 1},
    {Style::Conveyor, 0x4A5360, 0},
    {Style::Conveyor, 0x4A5360, 1},
    {Style::Conveyor, 0x4A5360, 2},
    {Style::Vent, 0x4F5966, 1},
    {Style::Hazard, 0x4FA3E0, 1},
    {Style::Girder, 0xD8574A, 1},
    {Style::PillarFoot, kPieceYellow, 0},
    {Style::Conveyor, 0x4A5360, 3},
    {Style::Conveyor, 0x4A5360, 4},
    {Style::Conveyor, 0x4A5360, 5},
    {Style::Circuit, 0xA8443C, 1},
    {Style::Ice, 0xFFC4E4, 1},
    {Style::Sand, 0xB88A5C, 1},
    {Style::Panel, 0xF08A3A, 2},
    {Style::Metal, 0xC09050, 3},
    {Style::Stone, 0xD4C09A, 2},
    {Style::Wood, 0xE8B878, 2},
    {Style::Glass, 0x9FF0B0, 2},
    {Style::Brick, 0x6C8AA8, 3},
    {Style::Grass, 0x6CC04A, 2},
};

constexpr double kS = 19;

void grass(cairo_t* cr, Rgb c, int variant) {
  const Rgb earth = hex(0xA0693C);
  bevelBox(cr, 0, 0, kS, kS, 2, earth);
  Dice dice(7 + variant);
  for (int i = 0; i < 7; ++i) {
    setColour(cr, darker(earth, 0.3), 0.6);
    cairo_arc(cr, dice.range(3, 16), dice.range(9, 16), dice.range(0.7, 1.3), 0, 2 * M_PI);
    cairo_fill(cr);
  }
  // Turf (or snow) with a scalloped lower edge.
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, kS, 0);
  cairo_line_to(cr, kS, 6);
  for (int i = 4; i >= 0; --i) cairo_arc(cr, i * 4.0 + 1.9, 6, 2.0, 0, M_PI);
  cairo_close_path(cr);
  setVerticalGradient(cr, 0, 8, lighter(c, 0.35), c);
  cairo_fill(cr);
  if (variant == 2) {
    const uint32_t petals[] = {0xFF6F91, 0xFFE14D, 0xFFFFFF};
    for (int i = 0; i < 3; ++i) {
      setColour(cr, hex(petals[i]));
      cairo_arc(cr, 4 + i * 5.5, 2.5 + (i % 2), 1.3, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
}

void brick(cairo_t* cr, Rgb c, int) {
  setColour(cr, lighter(hex(0xB0A090), 0.2));
  cairo_rectangle(cr, 0, 0, kS, kS);
  cairo_fill(cr);
  for (int row = 0; row < 3; ++row) {
    const double y = row * 6.33;
    const double shift = (row % 2) ? -4.75 : 0;
    for (int col = 0; col < 3; ++col) {
      const double x = shift + col * 9.5;
      const Rgb shade = mix(c, darker(c, 0.2), ((row + col) % 3) / 3.0);
      bevelBox(cr, x + 0.5, y + 0.5, 9, 5.5, 1, shade);
    }
  }
}

void stone(cairo_t* cr, Rgb c, int variant) {
  bevelBox(cr, 0, 0, kS, kS, 3, c);
  Dice dice(31 + variant);
  cairo_set_line_width(cr, 0.8);
  setColour(cr, darker(c, 0.4), 0.7);
  cairo_move_to(cr, 3, 4 + dice.range(0, 3));
  cairo_line_to(cr, 9, 8);
  cairo_line_to(cr, 11, 14);
  cairo_move_to(cr, 9, 8);
  cairo_line_to(cr, 16, 6);
  cairo_stroke(cr);
  for (int i = 0; i < 5; ++i) {
    setColour(cr, lighter(c, 0.4), 0.6);
    cairo_arc(cr, dice.range(3, 16), dice.range(3, 16), 0.7, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

void metal(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 2, c);
  // A brushed diagonal sheen and four bolts.
  cairo_move_to(cr, 4, 15);
  cairo_line_to(cr, 15, 4);
  cairo_set_line_width(cr, 3);
  setColour(cr, lighter(c, 0.5), 0.35);
  cairo_stroke(cr);
  for (double x : {4.0, 15.0}) {
    for (double y : {4.0, 15.0}) rivet(cr, x, y, 1.6, c);
  }
}

void wood(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 1.5, c);
  cairo_set_line_width(cr, 2.2);
  setColour(cr, darker(c, 0.3));
  roundedRect(cr, 2.5, 2.5, 14, 14, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, 3.5, 15.5);
  cairo_line_to(cr, 15.5, 3.5);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 0.6);
  setColour(cr, darker(c, 0.2), 0.7);
  for (double y : {7.0, 11.0}) {
    cairo_move_to(cr, 4, y);
    cairo_curve_to(cr, 8, y - 1, 11, y + 1, 15, y);
  }
  cairo_stroke(cr);
}

void glass(cairo_t* cr, Rgb c, int) {
  roundedRect(cr, 0.5, 0.5, 18, 18, 2);
  setVerticalGradient(cr, 0, kS, lighter(c, 0.3), c, 0.55);
  cairo_fill_preserve(cr);
  setColour(cr, darker(c, 0.45), 0.95);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  setColour(cr, {1, 1, 1}, 0.85);
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, 4, 10);
  cairo_line_to(cr, 10, 4);
  cairo_move_to(cr, 6, 14);
  cairo_line_to(cr, 14, 6);
  cairo_stroke(cr);
}

// A pipe from y = 4 to 15 across the cell, drawn horizontally; callers rotate it.
void pipeRun(cairo_t* cr, Rgb c, double from, double to) {
  cairo_rectangle(cr, from, 4, to - from, 11);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 4, 0, 15);
  const Rgb hi = lighter(c, 0.55), lo = darker(c, 0.45);
  cairo_pattern_add_color_stop_rgb(p, 0, lo.r, lo.g, lo.b);
  cairo_pattern_add_color_stop_rgb(p, 0.3, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void pipeCollar(cairo_t* cr, Rgb c, double x) {
  bevelBox(cr, x, 2.5, 4, 14, 1, darker(c, 0.1));
}

void pipe(cairo_t* cr, Rgb c, bool vertical) {
  if (vertical) {
    cairo_translate(cr, kS, 0);
    cairo_rotate(cr, M_PI / 2);
  }
  pipeRun(cr, c, 0, kS);
  pipeCollar(cr, c, 7.5);
}

void pipeCorner(cairo_t* cr, Rgb c, int) {
  pipeRun(cr, c, 0, 10);
  cairo_save(cr);
  cairo_translate(cr, kS, 0);
  cairo_rotate(cr, M_PI / 2);
  pipeRun(cr, c, 9, kS);
  cairo_restore(cr);
  rivet(cr, 9.5, 9.5, 6.5, c);
}

void girder(cairo_t* cr, Rgb c, int) {
  cairo_set_line_width(cr, 2.2);
  setColour(cr, c);
  cairo_rectangle(cr, 1.1, 1.1, 16.8, 16.8);
  cairo_move_to(cr, 1.1, 17.9);
  cairo_line_to(cr, 9.5, 1.1);
  cairo_line_to(cr, 17.9, 17.9);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 0.8);
  setColour(cr, lighter(c, 0.5));
  cairo_move_to(cr, 1, 0.6);
  cairo_line_to(cr, 18, 0.6);
  cairo_stroke(cr);
  for (double x : {2.5, 16.5}) rivet(cr, x, 2.5, 1.2, c);
}

void checker(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 2, c);
  setColour(cr, darker(c, 0.3));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      if ((x + y) % 2) cairo_rectangle(cr, 2 + x * 5, 2 + y * 5, 5, 5);
    }
  }
  cairo_fill(cr);
}

void hazard(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 1.5, c);
  cairo_save(cr);
  cairo_rectangle(cr, 2, 2, 15, 15);
  cairo_clip(cr);
  setColour(cr, hex(0x2A2E35));
  for (int i = -2; i < 6; ++i) {
    cairo_move_to(cr, i * 7.0, 19);
    cairo_line_to(cr, i * 7.0 + 3.5, 19);
    cairo_line_to(cr, i * 7.0 + 22.5, 0);
    cairo_line_to(cr, i * 7.0 + 19, 0);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

void vent(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 2, c);
  for (int i = 0; i < 4; ++i) {
    roundedRect(cr, 3.5, 3.5 + i * 3.3, 12, 1.8, 0.9);
    setColour(cr, darker(c, 0.6));
    cairo_fill(cr);
    cairo_move_to(cr, 4, 5.8 + i * 3.3);
    cairo_line_to(cr, 15, 5.8 + i * 3.3);
    setColour(cr, lighter(c, 0.4), 0.7);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
  }
}

void panel(cairo_t* cr, Rgb c, int variant) {
  bevelBox(cr, 0, 0, kS, kS, 2.5, c);
  roundedRect(cr, 3.5, 3.5, 12, 12, 2);
  setColour(cr, darker(c, 0.35));
  cairo_fill(cr);
  const uint32_t lamps[] = {0x9CFF6A, 0xFFE36A, 0x6AE4FF};
  glow(cr, 9.5, 9.5, 5.5, hex(lamps[variant % 3]), 1.0);
  rivet(cr, 9.5, 9.5, 2.2, hex(lamps[variant % 3]));
}

void ice(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 3, c);
  setColour(cr, {1, 1, 1}, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 4, 13);
  cairo_line_to(cr, 8, 5);
  cairo_move_to(cr, 8, 15);
  cairo_line_to(cr, 10, 11);
  cairo_stroke(cr);
  glow(cr, 13, 6, 3.5, {1, 1, 1}, 0.9);
}

void gold(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 1.5, c);
  cairo_move_to(cr, 3, 3);
  cairo_line_to(cr, 16, 3);
  cairo_line_to(cr, 12.5, 7);
  cairo_line_to(cr, 6.5, 7);
  cairo_close_path(cr);
  setColour(cr, lighter(c, 0.6));
  cairo_fill(cr);
  cairo_rectangle(cr, 6.5, 7, 6, 5);
  setColour(cr, lighter(c, 0.2));
  cairo_fill(cr);
  glow(cr, 5, 5, 2.5, {1, 1, 1}, 1.0);
}

void cobble(cairo_t* cr, Rgb c, int variant) {
  setColour(cr, darker(c, 0.45));
  roundedRect(cr, 0, 0, kS, kS, 2);
  cairo_fill(cr);
  const double stones[][4] = {{1, 1, 8, 7},  {10, 1, 8, 5},  {1, 9, 6, 9},   {8, 9, 10, 4},
                              {8, 14, 5, 4}, {14, 14, 4, 4}, {10, 7, 8, 1.5}};
  for (int i = 0; i < 6; ++i) {
    const Rgb shade = mix(c, lighter(c, 0.2), (i % 3) / 3.0);
    bevelBox(cr, stones[i][0], stones[i][1], stones[i][2], stones[i][3], 2, shade);
  }
  if (variant == 1) {
    setColour(cr, hex(0x4C9A3A), 0.8);
    cairo_arc(cr, 4, 2, 2.2, 0, 2 * M_PI);
    cairo_arc(cr, 15, 3, 1.5, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

void circuit(cairo_t* cr, Rgb c, int) {
  bevelBox(cr, 0, 0, kS, kS, 1.5, c);
  setColour(cr, hex(0xE8C25A));
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 2, 5);
  cairo_line_to(cr, 8, 5);
  cairo_line_to(cr, 11, 8);
  cairo_line_to(cr, 11, 17);
  cairo_move_to(cr, 17, 12);
  cairo_line_to(cr, 14, 12);
  cairo_line_to(cr, 14, 3);
  cairo_stroke(cr);
  roundedRect(cr, 4, 10, 5, 5, 0.8);
  setColour(cr, hex(0x22262C));
  cairo_fill(cr);
  for (double p : {2.0, 17.0}) rivet(cr, p, p == 2.0 ? 5 : 12, 1.1, hex(0xE8C25A));
}

void sand(cairo_t* cr, Rgb c, int variant) {
  bevelBox(cr, 0, 0, kS, kS, 2, c);
  Dice dice(101 + variant);
  for (int i = 0; i < 14; ++i) {
    setColour(cr, i % 2 ? darker(c, 0.25) : lighter(c, 0.35), 0.8);
    cairo_arc(cr, dice.range(2.5, 16.5), dice.range(2.5, 16.5), 0.6, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

// The yellow construction parts: a beam across the cell's upper part with optional ends
// and a joint, and the stem and pillar pieces.
void beam(cairo_t* cr, Rgb c, bool leftEnd, bool rightEnd, bool joint) {
  const double x0 = leftEnd ? 1 : -3, x1 = rightEnd ? 18 : 22;
  bevelBox(cr, x0, 1, x1 - x0, 17, 2.5, c);
  cairo_save(cr);
  cairo_rectangle(cr, std::max(x0 + 2, 0.0), 5, std::min(x1 - 2, kS) - std::max(x0 + 2, 0.0), 3);
  cairo_clip(cr);
  setColour(cr, hex(0x2A2E35), 0.85);
  for (int i = -1; i < 6; ++i) {
    cairo_move_to(cr, i * 5.0, 8);
    cairo_line_to(cr, i * 5.0 + 2.5, 8);
    cairo_line_to(cr, i * 5.0 + 5.5, 5);
    cairo_line_to(cr, i * 5.0 + 3, 5);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_restore(cr);
  if (leftEnd) rivet(cr, 4, 13, 1.5, c);
  if (rightEnd) rivet(cr, 15, 13, 1.5, c);
  if (joint) rivet(cr, 9.5, 13, 2.2, darker(c, 0.1));
}

void stem(cairo_t* cr, Rgb c) {
  bevelBox(cr, 4.5, -3, 10, 20, 2, c);
  for (double y : {3.0, 11.0}) rivet(cr, 9.5, y, 1.5, c);
}

void pillar(cairo_t* cr, Rgb c, Style style) {
  const double top = style == Style::PillarCap ? 3 : -3;
  const double bottom = style == Style::PillarFoot ? 16 : 22;
  bevelBox(cr, 3, top, 13, bottom - top, 2, c);
  cairo_set_line_width(cr, 1);
  setColour(cr, darker(c, 0.35), 0.8);
  cairo_move_to(cr, 6.5, std::max(top + 2, 0.0));
  cairo_line_to(cr, 6.5, std::min(bottom - 2, kS));
  cairo_move_to(cr, 12.5, std::max(top + 2, 0.0));
  cairo_line_to(cr, 12.5, std::min(bottom - 2, kS));
  cairo_stroke(cr);
  if (style == Style::PillarCap) {
    bevelBox(cr, 1, 0.5, 17, 5, 1.5, lighter(c, 0.1));
    rivet(cr, 4, 3, 1.1, c);
    rivet(cr, 15, 3, 1.1, c);
  } else if (style == Style::PillarFoot) {
    bevelBox(cr, 1, 13.5, 17, 5, 1.5, darker(c, 0.1));
  }
}

// Conveyor: belts above and below, an open middle where the turning wheel shows, and
// rollers at the ends. Variants 0 to 2 are left end, middle, right end; 3 to 5 the same
// with the belt's treads half a step further along.
void conveyor(cairo_t* cr, Rgb c, int variant) {
  const int part = variant % 3;
  const double phase = variant >= 3 ? 2.5 : 0;
  const double x0 = part == 0 ? 1 : 0, x1 = part == 2 ? 18 : kS;
  for (double y : {0.5, 14.0}) {
    roundedRect(cr, x0, y, x1 - x0, 4.5, part == 1 ? 0 : 2.2);
    setColour(cr, darker(c, 0.2));
    cairo_fill(cr);
    setColour(cr, hex(0xF2C230));
    for (double x = -5 + phase; x < kS; x += 5) {
      if (x + 1.5 > x0 && x < x1 - 1) cairo_rectangle(cr, std::max(x, x0), y + 1.5, 1.5, 1.5);
    }
    cairo_fill(cr);
  }
  cairo_set_line_width(cr, 1.2);
  setColour(cr, lighter(c, 0.3));
  if (part == 0) {
    cairo_move_to(cr, 2, 4.5);
    cairo_line_to(cr, 2, 14.5);
    cairo_stroke(cr);
    rivet(cr, 3.2, 9.5, 2.6, hex(0xB9C3CE));
  } else if (part == 2) {
    cairo_move_to(cr, 17, 4.5);
    cairo_line_to(cr, 17, 14.5);
    cairo_stroke(cr);
    rivet(cr, 15.8, 9.5, 2.6, hex(0xB9C3CE));
  }
  // Small arrows on the top belt show the direction of travel: to the left.
  setColour(cr, {1, 1, 1}, 0.9);
  cairo_move_to(cr, 7.5 + phase * 0.4, 2.75);
  cairo_line_to(cr, 10.5 + phase * 0.4, 1.2);
  cairo_line_to(cr, 10.5 + phase * 0.4, 4.3);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace

void drawBlock(Canvas& canvas, int code) {
  if (code < 1 || code > 61) return;
  const BlockLook& look = kBlocks[code];
  cairo_t* cr = canvas.cr();
  const Rgb c = hex(look.colour);
  switch (look.style) {
    case Style::Grass:
      grass(cr, c, look.variant);
      break;
    case Style::Brick:
      brick(cr, c, look.variant);
      break;
    case Style::Stone:
      stone(cr, c, look.variant);
      break;
    case Style::Metal:
      metal(cr, c, look.variant);
      break;
    case Style::Wood:
      wood(cr, c, look.variant);
      break;
    case Style::Glass:
      glass(cr, c, look.variant);
      break;
    case Style::PipeH:
      pipe(cr, c, false);
      break;
    case Style::PipeV:
      pipe(cr, c, true);
      break;
    case Style::PipeCorner:
      pipeCorner(cr, c, look.variant);
      break;
    case Style::Girder:
      girder(cr, c, look.variant);
      break;
    case Style::Checker:
      checker(cr, c, look.variant);
      break;
    case Style::Hazard:
      hazard(cr, c, look.variant);
      break;
    case Style::Vent:
      vent(cr, c, look.variant);
      break;
    case Style::Panel:
      panel(cr, c, look.variant);
      break;
    case Style::Ice:
      ice(cr, c, look.variant);
      break;
    case Style::Gold:
      gold(cr, c, look.variant);
      break;
    case Style::Cobble:
      cobble(cr, c, look.variant);
      break;
    case Style::Circuit:
      circuit(cr, c, look.variant);
      break;
    case Style::Sand:
      sand(cr, c, look.variant);
      break;
    case Style::BeamLeft:
      beam(cr, c, true, false, false);
      break;
    case Style::BeamRight:
      beam(cr, c, false, true, false);
      break;
    case Style::BeamMid:
      beam(cr, c, false, false, true);
      break;
    case Style::BeamStart:
      beam(cr, c, true, false, true);
      break;
    case Style::BeamEnd:
      beam(cr, c, false, true, true);
      break;
    case Style::Stem:
      stem(cr, c);
      break;
    case Style::PillarCap:
    case Style::PillarBody:
    case Style::PillarFoot:
      pillar(cr, c, look.style);
      break;
    case Style::Conveyor:
      conveyor(cr, c, look.variant);
      break;
  }
}

}  // namespace mdx::media
