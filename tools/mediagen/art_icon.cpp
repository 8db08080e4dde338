#include <cairo-svg.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "cairo_file.h"
#include "mediagen/app_icon.h"
#include "mediagen/paint.h"

namespace mdx::media {
namespace {

namespace fs = std::filesystem;

// The icon is designed on a 64 x 64 grid and scaled to each size.
constexpr double kDesignSize = 64;

void drawBackdrop(cairo_t* cr) {
  roundedRect(cr, 3, 3, 58, 58, 11);
  setVerticalGradient(cr, 3, 61, hex(0x2F5C9E), hex(0x142848));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.5);
  setColour(cr, hex(0x0A1428), 0.9);
  cairo_stroke(cr);
  glow(cr, 32, 26, 24, hex(0x7FB6FF), 0.35);
}

// The brick block the robot stands on, with its mortar line and bolts.
void drawBlock(cairo_t* cr) {
  const Rgb brick = hex(0xB86B2A);
  bevelBox(cr, 9, 46, 46, 11, 2, brick);
  cairo_set_line_width(cr, 1);
  setColour(cr, darker(brick, 0.5), 0.8);
  cairo_move_to(cr, 32, 47);
  cairo_line_to(cr, 32, 56);
  cairo_stroke(cr);
  rivet(cr, 14, 51.5, 1.8, hex(0xD8D8E0));
  rivet(cr, 50, 51.5, 1.8, hex(0xD8D8E0));
}

// Head, body, legs and antenna of the robot, with its eyes and chest light.
void drawRobot(cairo_t* cr) {
  const Rgb metal = hex(0xA8A8B8);
  bevelBox(cr, 24, 40, 6, 6, 1, darker(metal, 0.3));
  bevelBox(cr, 34, 40, 6, 6, 1, darker(metal, 0.3));
  bevelBox(cr, 21, 27, 22, 14, 3, metal);
  bevelBox(cr, 19, 10, 26, 17, 4, metal);
  cairo_set_line_width(cr, 2);
  setColour(cr, hex(0x505060));
  cairo_move_to(cr, 32, 10);
  cairo_line_to(cr, 32, 5);
  cairo_stroke(cr);
  glow(cr, 32, 4.5, 4, hex(0xFF4040), 0.8);
  rivet(cr, 32, 4.5, 2, hex(0xFF4040));
  for (double eyeX : {26.0, 38.0}) {
    glow(cr, eyeX, 18.5, 5, hex(0x30E0FF), 0.6);
    roundedRect(cr, eyeX - 3, 16, 6, 5, 1.5);
    setColour(cr, hex(0x30E0FF));
    cairo_fill(cr);
  }
  glow(cr, 32, 33.5, 6, hex(0x40FF60), 0.5);
  roundedRect(cr, 28.5, 31, 7, 5, 1.5);
  setColour(cr, hex(0x40FF60));
  cairo_fill(cr);
}

void drawIcon(cairo_t* cr, double size) {
  cairo_save(cr);
  cairo_scale(cr, size / kDesignSize, size / kDesignSize);
  drawBackdrop(cr);
  drawBlock(cr);
  drawRobot(cr);
  cairo_restore(cr);
}

// Writes Cairo's output for path, or says why it cannot.
bool settle(bool written, const fs::path& path, const std::string& error) {
  if (!written) std::fprintf(stderr, "mediagen: %s: %s\n", path.c_str(), error.c_str());
  return written;
}

bool writePng(const fs::path& path, int size) {
  Canvas canvas(size, size);
  drawIcon(canvas.cr(), size);
  cairo_surface_flush(canvas.surface());
  std::string error;
  return settle(tools::writePngFile(canvas.surface(), path.string(), error), path, error);
}

bool writeSvg(const fs::path& path) {
  std::string bytes;
  cairo_surface_t* surface =
      cairo_svg_surface_create_for_stream(tools::appendToString, &bytes, kDesignSize, kDesignSize);
  cairo_t* cr = cairo_create(surface);
  drawIcon(cr, kDesignSize);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  std::string error;
  return settle(tools::writeCairoOutput(status, bytes, path.string(), error), path, error);
}

bool makeFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "mediagen: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
  }
  return !error;
}

}  // namespace

bool generateAppIcons(const std::string& hicolorDir, const std::string& name,
                      const std::vector<int>& sizes) {
  bool ok = true;
  for (int size : sizes) {
    const fs::path folder =
        fs::path(hicolorDir) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    ok = makeFolder(folder) && writePng(folder / (name + ".png"), size) && ok;
  }
  const fs::path scalable = fs::path(hicolorDir) / "scalable" / "apps";
  return makeFolder(scalable) && writeSvg(scalable / (name + ".svg")) && ok;
}

}  // namespace mdx::media
