// The blocks that make the falling pieces (bright yellow beams, stems and pillars) and the
// conveyor belts.
#include "mediagen/art_parts.h"

#include <algorithm>
#include <cmath>

namespace mdx::media {

namespace {

constexpr double kS = 19;

}  // namespace

// The yellow construction parts: a beam across the cell's upper part with optional ends
// and a joint, and the stem and pillar pieces.
void beamBlock(cairo_t* cr, Rgb c, bool leftEnd, bool rightEnd, bool joint) {
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

void stemBlock(cairo_t* cr, Rgb c) {
  bevelBox(cr, 4.5, -3, 10, 20, 2, c);
  for (double y : {3.0, 11.0}) rivet(cr, 9.5, y, 1.5, c);
}

void pillarBlock(cairo_t* cr, Rgb c, PillarPart part) {
  const double top = part == PillarPart::Cap ? 3 : -3;
  const double bottom = part == PillarPart::Foot ? 16 : 22;
  bevelBox(cr, 3, top, 13, bottom - top, 2, c);
  cairo_set_line_width(cr, 1);
  setColour(cr, darker(c, 0.35), 0.8);
  cairo_move_to(cr, 6.5, std::max(top + 2, 0.0));
  cairo_line_to(cr, 6.5, std::min(bottom - 2, kS));
  cairo_move_to(cr, 12.5, std::max(top + 2, 0.0));
  cairo_line_to(cr, 12.5, std::min(bottom - 2, kS));
  cairo_stroke(cr);
  if (part == PillarPart::Cap) {
    bevelBox(cr, 1, 0.5, 17, 5, 1.5, lighter(c, 0.1));
    rivet(cr, 4, 3, 1.1, c);
    rivet(cr, 15, 3, 1.1, c);
  } else if (part == PillarPart::Foot) {
    bevelBox(cr, 1, 13.5, 17, 5, 1.5, darker(c, 0.1));
  }
}

// Conveyor: belts above and below, an open middle where the turning wheel shows, and
// rollers at the ends. Variants 0 to 2 are left end, middle, right end; 3 to 5 the same
// with the belt's treads half a step further along.
void conveyorBlock(cairo_t* cr, Rgb c, int variant) {
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

}  // namespace mdx::media
