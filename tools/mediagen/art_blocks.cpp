// The blocks with pictures: bricks, stone, metal, wood, glass, pipes, conveyors and the bright
// yellow construction parts that the falling pieces are built from.
#include <cmath>
#include <iterator>

#include "mediagen/art.h"
#include "mediagen/art_parts.h"
#include "world/cell_table.h"

namespace mdx::media {

namespace {

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

void pipeH(cairo_t* cr, Rgb c, int) {
  pipe(cr, c, false);
}
void pipeV(cairo_t* cr, Rgb c, int) {
  pipe(cr, c, true);
}
void beamLeft(cairo_t* cr, Rgb c, int) {
  beamBlock(cr, c, true, false, false);
}
void beamRight(cairo_t* cr, Rgb c, int) {
  beamBlock(cr, c, false, true, false);
}
void beamMid(cairo_t* cr, Rgb c, int) {
  beamBlock(cr, c, false, false, true);
}
void beamStart(cairo_t* cr, Rgb c, int) {
  beamBlock(cr, c, true, false, true);
}
void beamEnd(cairo_t* cr, Rgb c, int) {
  beamBlock(cr, c, false, true, true);
}
void stem(cairo_t* cr, Rgb c, int) {
  stemBlock(cr, c);
}
void pillarCap(cairo_t* cr, Rgb c, int) {
  pillarBlock(cr, c, PillarPart::Cap);
}
void pillarBody(cairo_t* cr, Rgb c, int) {
  pillarBlock(cr, c, PillarPart::Body);
}
void pillarFoot(cairo_t* cr, Rgb c, int) {
  pillarBlock(cr, c, PillarPart::Foot);
}
void conveyor(cairo_t* cr, Rgb c, int variant) {
  conveyorBlock(cr, c, variant);
}

using Painter = void (*)(cairo_t*, Rgb, int);

struct BlockLook {
  Painter paint;
  uint32_t colour;
  int variant;
};

constexpr uint32_t kPieceYellow = 0xF6B82E;

// The look of every block, by block code; entry 0 is unused.
const BlockLook kBlocks[] = {
    {grass, 0x6CC04A, 0},          {grass, 0x6CC04A, 0},         {beamLeft, kPieceYellow, 0},
    {brick, 0xC8553D, 0},          {beamRight, kPieceYellow, 0}, {pillarBody, kPieceYellow, 0},
    {stone, 0x9AA3AD, 0},          {metal, 0x5B8FD0, 0},         {wood, 0xC98D4E, 0},
    {glass, 0x9FE3F5, 0},          {beamStart, kPieceYellow, 0}, {beamEnd, kPieceYellow, 0},
    {pipeH, 0x4DB35A, 0},          {pipeV, 0x4DB35A, 0},         {pipeCorner, 0x4DB35A, 0},
    {girder, 0x3FA7A3, 0},         {beamMid, kPieceYellow, 0},   {stem, kPieceYellow, 0},
    {checker, 0xE9EEF3, 0},        {hazard, 0xF2C230, 0},        {vent, 0x7F8C99, 0},
    {panel, 0x34A6B8, 0},          {ice, 0xBDEBFF, 0},           {gold, 0xF0C240, 0},
    {cobble, 0xA3978A, 0},         {circuit, 0x2E8F5A, 0},       {sand, 0xE8CF8E, 0},
    {brick, 0xE0A040, 1},          {metal, 0x5DB870, 1},         {stone, 0x6C7480, 1},
    {pillarCap, kPieceYellow, 0},  {wood, 0x8E5B33, 1},          {glass, 0x7FA8FF, 1},
    {pipeH, 0xD08A3C, 1},          {pipeV, 0xD08A3C, 1},         {pipeCorner, 0xD08A3C, 1},
    {grass, 0xF4F8FF, 1},          {metal, 0xD8584E, 2},         {panel, 0x9A6AD0, 1},
    {cobble, 0x7FA36A, 1},         {brick, 0x8C7FA8, 2},         {checker, 0x8FC4F0, 1},
    {conveyor, 0x4A5360, 0},       {conveyor, 0x4A5360, 1},      {conveyor, 0x4A5360, 2},
    {vent, 0x4F5966, 1},           {hazard, 0x4FA3E0, 1},        {girder, 0xD8574A, 1},
    {pillarFoot, kPieceYellow, 0}, {conveyor, 0x4A5360, 3},      {conveyor, 0x4A5360, 4},
    {conveyor, 0x4A5360, 5},       {circuit, 0xA8443C, 1},       {ice, 0xFFC4E4, 1},
    {sand, 0xB88A5C, 1},           {panel, 0xF08A3A, 2},         {metal, 0xC09050, 3},
    {stone, 0xD4C09A, 2},          {wood, 0xE8B878, 2},          {glass, 0x9FF0B0, 2},
    {brick, 0x6C8AA8, 3},          {grass, 0x6CC04A, 2},
};

static_assert(std::size(kBlocks) == world::kLastPicturedBlock + 1,
              "a look for every block with a picture");

}  // namespace

void drawBlock(Canvas& canvas, int code) {
  if (!world::hasBlockPicture(code)) return;
  const BlockLook& look = kBlocks[code];
  look.paint(canvas.cr(), hex(look.colour), look.variant);
}

}  // namespace mdx::media
