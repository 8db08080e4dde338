// Devices, the robot, the exit lights and the explosion.
#include <cmath>

#include "mediagen/art.h"

namespace mdx::media {

namespace {

const Rgb kSteel = hex(0x9BA9B8);
const Rgb kInk = hex(0x22262C);

void gauge(cairo_t* cr) {
  bevelBox(cr, 7.5, 12, 4, 7, 1, kSteel);
  cairo_arc(cr, 9.5, 8, 7, 0, 2 * M_PI);
  setColour(cr, darker(kSteel, 0.3));
  cairo_fill(cr);
  cairo_arc(cr, 9.5, 8, 5.6, 0, 2 * M_PI);
  setColour(cr, hex(0xFFFBEA));
  cairo_fill(cr);
  cairo_arc(cr, 9.5, 8, 4.4, M_PI * 0.9, M_PI * 1.25);
  cairo_set_line_width(cr, 1.4);
  setColour(cr, hex(0x59C15A));
  cairo_stroke(cr);
  cairo_arc(cr, 9.5, 8, 4.4, M_PI * 1.75, M_PI * 2.1);
  setColour(cr, hex(0xE5533D));
  cairo_stroke(cr);
  cairo_move_to(cr, 9.5, 8);
  cairo_line_to(cr, 12.5, 4.5);
  cairo_set_line_width(cr, 1);
  setColour(cr, kInk);
  cairo_stroke(cr);
  rivet(cr, 9.5, 8, 1.2, hex(0xE5533D));
}

void liftRails(cairo_t* cr) {
  for (double x : {1.5, 15.0}) {
    bevelBox(cr, x, -1, 2.5, 21, 0.8, kSteel);
  }
  setColour(cr, darker(kSteel, 0.2), 0.8);
  cairo_set_line_width(cr, 1);
  for (double y : {4.5, 14.0}) {
    cairo_move_to(cr, 4, y);
    cairo_line_to(cr, 15, y);
  }
  cairo_stroke(cr);
}

void liftCar(cairo_t* cr) {
  liftRails(cr);
  bevelBox(cr, 0.5, 13, 18, 5.5, 1.5, hex(0xF6B82E));
  cairo_save(cr);
  cairo_rectangle(cr, 2, 14.5, 15, 2.5);
  cairo_clip(cr);
  setColour(cr, kInk);
  for (int i = 0; i < 6; ++i) {
    cairo_move_to(cr, i * 4.0, 17);
    cairo_line_to(cr, i * 4.0 + 2, 17);
    cairo_line_to(cr, i * 4.0 + 4.5, 14.5);
    cairo_line_to(cr, i * 4.0 + 2.5, 14.5);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_restore(cr);
  // Guard rails on the sides of the car.
  cairo_set_line_width(cr, 1.2);
  setColour(cr, hex(0xF6B82E));
  cairo_move_to(cr, 1.5, 13);
  cairo_line_to(cr, 1.5, 5);
  cairo_line_to(cr, 4.5, 5);
  cairo_move_to(cr, 17.5, 13);
  cairo_line_to(cr, 17.5, 5);
  cairo_line_to(cr, 14.5, 5);
  cairo_stroke(cr);
}

void callButton(cairo_t* cr) {
  bevelBox(cr, 1, 14.5, 17, 4.5, 1.5, kSteel);
  cairo_arc(cr, 9.5, 14.5, 4, M_PI, 2 * M_PI);
  setColour(cr, hex(0xE5533D));
  cairo_fill(cr);
  glow(cr, 8.3, 12.5, 2, {1, 1, 1}, 0.8);
  // A small down arrow above: the cars come down.
  setColour(cr, hex(0x3FA7A3));
  cairo_move_to(cr, 6, 3);
  cairo_line_to(cr, 13, 3);
  cairo_line_to(cr, 9.5, 8);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void cog(cairo_t* cr, double cx, double cy, double outer, Rgb c) {
  const int teeth = 10;
  cairo_new_path(cr);
  for (int i = 0; i < teeth * 2; ++i) {
    const double a0 = (i - 0.5) * M_PI / teeth, a1 = (i + 0.5) * M_PI / teeth;
    const double r = (i % 2) ? outer * 0.78 : outer;
    cairo_line_to(cr, cx + r * std::cos(a0 + 0.06), cy + r * std::sin(a0 + 0.06));
    cairo_line_to(cr, cx + r * std::cos(a1 - 0.06), cy + r * std::sin(a1 - 0.06));
  }
  cairo_close_path(cr);
  setColour(cr, darker(c, 0.45));
  cairo_set_line_width(cr, 1);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - 3, cy - 3, 0, cx, cy, outer);
  const Rgb hi = lighter(c, 0.4);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 1, c.r, c.g, c.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Spokes with round holes between them make the turning visible.
  for (int i = 0; i < 4; ++i) {
    const double a = i * M_PI / 2 + M_PI / 4;
    cairo_arc(cr, cx + outer * 0.45 * std::cos(a), cy + outer * 0.45 * std::sin(a), outer * 0.16, 0,
              2 * M_PI);
  }
  setColour(cr, darker(c, 0.5));
  cairo_fill(cr);
  rivet(cr, cx, cy, outer * 0.22, hex(0xE5533D));
}

void swingBar(cairo_t* cr) {
  bevelBox(cr, 0.5, 5.5, 56, 8, 3.5, hex(0xE5533D));
  cairo_save(cr);
  roundedRect(cr, 2, 7, 53, 5, 2);
  cairo_clip(cr);
  setColour(cr, {1, 1, 1}, 0.9);
  for (int i = 0; i < 12; ++i) {
    cairo_move_to(cr, i * 5.0, 12);
    cairo_line_to(cr, i * 5.0 + 2, 12);
    cairo_line_to(cr, i * 5.0 + 6, 7);
    cairo_line_to(cr, i * 5.0 + 4, 7);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_arc(cr, 28.5, 9.5, 6.5, 0, 2 * M_PI);
  setColour(cr, darker(kSteel, 0.4));
  cairo_fill(cr);
  rivet(cr, 28.5, 9.5, 5.5, kSteel);
  rivet(cr, 28.5, 9.5, 2, hex(0xF6B82E));
}

void barSwitch(cairo_t* cr) {
  cairo_move_to(cr, 9.5, 15);
  cairo_line_to(cr, 14.5, 4);
  cairo_set_line_width(cr, 2);
  setColour(cr, darker(kSteel, 0.3));
  cairo_stroke(cr);
  rivet(cr, 14.8, 3.6, 2.8, hex(0xE5533D));
  bevelBox(cr, 2, 13, 15, 6, 2.5, hex(0x3FA7A3));
  for (double x : {5.0, 14.0}) rivet(cr, x, 16, 1, hex(0x3FA7A3));
}

void exitDoor(cairo_t* cr) {
  // A glowing arched gate, two cells tall.
  cairo_new_path(cr);
  cairo_move_to(cr, 0.5, 37.5);
  cairo_line_to(cr, 0.5, 9.5);
  cairo_arc(cr, 9.5, 9.5, 9, M_PI, 2 * M_PI);
  cairo_line_to(cr, 18.5, 37.5);
  cairo_close_path(cr);
  setVerticalGradient(cr, 0, 38, hex(0x6AD6E8), hex(0x2E7FA0));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, 3.5, 37.5);
  cairo_line_to(cr, 3.5, 10);
  cairo_arc(cr, 9.5, 10, 6, M_PI, 2 * M_PI);
  cairo_line_to(cr, 15.5, 37.5);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(9.5, 22, 1, 9.5, 22, 16);
  cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 0.92);
  cairo_pattern_add_color_stop_rgb(p, 0.6, 0.72, 1.0, 0.78);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.35, 0.85, 0.65);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // A star over the arch and a doorstep.
  rivet(cr, 9.5, 3.2, 2, hex(0xFFE14D));
  bevelBox(cr, 0, 34, 19, 4, 1, kSteel);
}

void bottle(cairo_t* cr) {
  bevelBox(cr, 3, 15, 13, 4, 1, kSteel);
  roundedRect(cr, 4.5, 4, 10, 11.5, 3);
  setColour(cr, hex(0xDDF4FF), 0.6);
  cairo_fill_preserve(cr);
  setColour(cr, darker(kSteel, 0.4));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  roundedRect(cr, 5.5, 8.5, 8, 6.5, 2.5);
  setColour(cr, hex(0x7BE05A));
  cairo_fill(cr);
  for (double y : {10.0, 12.5}) glow(cr, y - 1.5, y, 1.3, {1, 1, 1}, 0.9);
  bevelBox(cr, 7, 1, 5, 3.5, 1, hex(0xE5533D));
}

// Three steps rising to the right; the robot climbs them.
void stairs(cairo_t* cr, Rgb c, bool rail) {
  for (int i = 0; i < 3; ++i) {
    const double x = 1 + i * 6, top = 13 - i * 6;
    bevelBox(cr, x, top, 18 - x, 19 - top, 1.2, mix(c, lighter(c, 0.25), i / 2.0));
  }
  if (rail) {
    cairo_set_line_width(cr, 1.2);
    setColour(cr, darker(kSteel, 0.2));
    cairo_move_to(cr, 2, 8);
    cairo_line_to(cr, 14, -2);
    cairo_move_to(cr, 3, 13);
    cairo_line_to(cr, 3, 8.5);
    cairo_stroke(cr);
  }
}

void bomb(cairo_t* cr) {
  cairo_arc(cr, 9.5, 11, 7.2, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(7, 8, 0.5, 9.5, 11, 7.5);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.95, 0.97);
  cairo_pattern_add_color_stop_rgb(p, 0.45, 0.62, 0.64, 0.7);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.3, 0.32, 0.38);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // A light band with a skull-free warning mark, so the red flash reads clearly.
  cairo_save(cr);
  cairo_arc(cr, 9.5, 11, 7.2, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_rectangle(cr, 0, 10, 19, 3);
  setColour(cr, hex(0xF6D55C));
  cairo_fill(cr);
  cairo_restore(cr);
  bevelBox(cr, 7.5, 2, 4, 3, 0.8, kSteel);
  cairo_move_to(cr, 9.5, 2.5);
  cairo_curve_to(cr, 10, 0.5, 12.5, 1.5, 14, 1);
  cairo_set_line_width(cr, 1);
  setColour(cr, hex(0x8A6A4A));
  cairo_stroke(cr);
  glow(cr, 14.5, 1.5, 3, hex(0xFFD84D), 1);
}

void warningLamp(cairo_t* cr) {
  glow(cr, 9.5, 9, 9.5, hex(0xFFB030), 0.8);
  cairo_arc(cr, 9.5, 11, 5, M_PI, 2 * M_PI);
  cairo_line_to(cr, 14.5, 14);
  cairo_line_to(cr, 4.5, 14);
  cairo_close_path(cr);
  setVerticalGradient(cr, 6, 14, hex(0xFFF0A0), hex(0xFF9A20));
  cairo_fill(cr);
  bevelBox(cr, 3, 14, 13, 4.5, 1.5, kSteel);
  glow(cr, 8, 9, 2, {1, 1, 1}, 1);
}

}  // namespace

void drawDevice(Canvas& canvas, int code) {
  cairo_t* cr = canvas.cr();
  switch (code) {
    case 1:
      gauge(cr);
      break;
    case 2:
      liftCar(cr);
      break;
    case 3:
      liftRails(cr);
      break;
    case 4:
      callButton(cr);
      break;
    case 5:
      cog(cr, 9.5, 9.5, 9.2, hex(0xE0A84A));
      break;
    case 6:
      swingBar(cr);
      break;
    case 7:
      barSwitch(cr);
      break;
    case 8:
      exitDoor(cr);
      break;
    case 9:
      bottle(cr);
      break;
    case 10:
      stairs(cr, hex(0xF6B82E), false);
      break;
    case 11:
      stairs(cr, hex(0x5B8FD0), true);
      break;
    case 12:
      bomb(cr);
      break;
    case 13:
      warningLamp(cr);
      break;
    default:
      break;
  }
}

namespace {

const Rgb kShell = hex(0xF3F6FA);
const Rgb kTrim = hex(0x2FA6B8);
const Rgb kOrange = hex(0xF58A3A);

void robotLeg(cairo_t* cr, double hipX, double footX, double footY) {
  cairo_move_to(cr, hipX, 29);
  cairo_line_to(cr, footX, footY - 2);
  cairo_set_line_width(cr, 2.4);
  setColour(cr, darker(kSteel, 0.35));
  cairo_stroke(cr);
  roundedRect(cr, footX - 2.2, footY - 2.2, 5.2, 2.6, 1.2);
  setColour(cr, kOrange);
  cairo_fill(cr);
}

void robotArm(cairo_t* cr, double x, double y, double handX, double handY) {
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, handX, handY);
  cairo_set_line_width(cr, 1.8);
  setColour(cr, darker(kSteel, 0.3));
  cairo_stroke(cr);
  cairo_arc(cr, handX, handY, 1.4, 0, 2 * M_PI);
  setColour(cr, kOrange);
  cairo_fill(cr);
}

void robotHead(cairo_t* cr, int frame) {
  // Antenna with a red bead.
  cairo_move_to(cr, 9.5, 7);
  cairo_line_to(cr, 9.5, 3);
  cairo_set_line_width(cr, 1);
  setColour(cr, darker(kSteel, 0.4));
  cairo_stroke(cr);
  rivet(cr, 9.5, 2.4, 1.7, hex(0xE5533D));
  bevelBox(cr, 2.5, 6.5, 14, 11, 4, kShell);
  // Walking, the robot looks where it goes (right); cheering and falling, it faces us.
  const double look = frame < 2 ? 1.5 : 0;
  roundedRect(cr, 5 + look, 9, 10.5, 6, 2.5);
  setColour(cr, hex(0x1E2A3A));
  cairo_fill(cr);
  setColour(cr, hex(0x7FF0FF));
  if (frame == 2) {
    // Happy eyes: two little arches.
    cairo_set_line_width(cr, 1.1);
    for (double x : {9.2, 13.0}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, x, 12.8, 1.4, M_PI, 2 * M_PI);
    }
    cairo_stroke(cr);
  } else if (frame == 3) {
    for (double x : {9.2, 13.0}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, x, 12, 1.5, 0, 2 * M_PI);
    }
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
  } else {
    roundedRect(cr, 8.3 + look + 0.5, 10.6, 2, 2.8, 0.9);
    roundedRect(cr, 12.2 + look + 0.5, 10.6, 2, 2.8, 0.9);
    cairo_fill(cr);
  }
  rivet(cr, 2.8, 12, 1.3, kTrim);
}

void robotBody(cairo_t* cr) {
  bevelBox(cr, 4, 17.5, 11.5, 12, 3, kShell);
  roundedRect(cr, 6, 20.5, 7.5, 4.5, 1.5);
  setColour(cr, kTrim);
  cairo_fill(cr);
  glow(cr, 9.75, 22.75, 2.2, hex(0xFFF4A0), 1);
}

}  // namespace

void drawRobot(Canvas& canvas, int frame) {
  cairo_t* cr = canvas.cr();
  switch (frame) {
    case 0:
      robotLeg(cr, 7.5, 5, 37.5);
      robotLeg(cr, 12, 14.5, 37.5);
      break;
    case 1:
      robotLeg(cr, 8, 8.5, 37.5);
      robotLeg(cr, 11.5, 11, 37.5);
      break;
    case 2:
      robotLeg(cr, 7.5, 6.5, 37.5);
      robotLeg(cr, 12, 13, 37.5);
      break;
    default:
      robotLeg(cr, 7.5, 3.5, 35.5);
      robotLeg(cr, 12, 16, 35.5);
      break;
  }
  if (frame >= 2) {
    robotArm(cr, 4.5, 20, 1.5, 15.5);
    robotArm(cr, 15, 20, 17.5, 15.5);
  } else {
    robotArm(cr, 6, 20, frame == 0 ? 3.5 : 5.5, 27);
  }
  robotBody(cr);
  if (frame < 2) robotArm(cr, 13.5, 20, frame == 0 ? 16.5 : 14.5, 27);
  robotHead(cr, frame);
}

void drawExitLight(Canvas& canvas, int which) {
  cairo_t* cr = canvas.cr();
  const double cx = 12.5, cy = 19, reach = 12.4;
  // Light 0 (behind the blocks) is a warm star of six broad rays; light 1 (in front) is a
  // fainter cool cross, so the two turning at different speeds shimmer over the exit.
  const int rays = which == 0 ? 6 : 4;
  const double width = which == 0 ? 3.2 : 2.2;
  const Rgb colour = which == 0 ? hex(0xFFE890) : hex(0xC8FFF4);
  const double alpha = which == 0 ? 0.85 : 0.6;
  glow(cr, cx, cy, reach, colour, which == 0 ? 0.55 : 0.35);
  for (int i = 0; i < rays; ++i) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, i * M_PI / rays);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, reach);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.3, colour.r, colour.g, colour.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, colour.r, colour.g, colour.b, 0);
    cairo_move_to(cr, -reach, 0);
    cairo_curve_to(cr, -reach / 2, -0.3, -2, -width, 0, -width);
    cairo_curve_to(cr, 2, -width, reach / 2, -0.3, reach, 0);
    cairo_curve_to(cr, reach / 2, 0.3, 2, width, 0, width);
    cairo_curve_to(cr, -2, width, -reach / 2, 0.3, -reach, 0);
    cairo_close_path(cr);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
  }
  glow(cr, cx, cy, 4, {1, 1, 1}, which == 0 ? 0.9 : 0.6);
}

void drawExplosion(Canvas& canvas) {
  cairo_t* cr = canvas.cr();
  const double c = 19.5;
  Dice dice(4242);
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3 + 0.3;
    glow(cr, c + 11 * std::cos(a), c + 11 * std::sin(a), 7.5, hex(0x8A7F78), 0.65);
  }
  const int spikes = 11;
  cairo_new_path(cr);
  for (int i = 0; i < spikes * 2; ++i) {
    const double a = i * M_PI / spikes;
    const double r = (i % 2) ? dice.range(7, 10) : dice.range(15.5, 19);
    cairo_line_to(cr, c + r * std::cos(a), c + r * std::sin(a));
  }
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(c, c, 1, c, c, 19);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 0.85, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.35, 1, 0.86, 0.25, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.75, 0.98, 0.45, 0.12, 0.95);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.85, 0.2, 0.1, 0.6);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  glow(cr, c, c, 8, {1, 1, 1}, 0.9);
}

}  // namespace mdx::media
