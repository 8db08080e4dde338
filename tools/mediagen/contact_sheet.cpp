#include "mediagen/contact_sheet.h"

#include <algorithm>

#include "cairo_file.h"

namespace mdx::media {

namespace {

constexpr int kSheetWidth = 1720;
constexpr int kScale = 2;
constexpr int kGap = 12;
constexpr int kLabel = 16;

struct Placement {
  int x, y;
};

// Row by row, left to right; returns the sheet height.
int layOut(const std::vector<SheetEntry>& entries, std::vector<Placement>& places) {
  int x = kGap, y = kGap, rowHeight = 0;
  for (const SheetEntry& e : entries) {
    const int w = std::max(e.picture->width() * kScale, 84);
    const int h = e.picture->height() * kScale + kLabel;
    if (x + w + kGap > kSheetWidth && x > kGap) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    places.push_back({x, y});
    x += w + kGap;
    rowHeight = std::max(rowHeight, h);
  }
  return y + rowHeight + kGap;
}

void checkerBackground(cairo_t* cr, int height) {
  cairo_set_source_rgb(cr, 0.55, 0.57, 0.6);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.66, 0.68, 0.71);
  for (int y = 0; y < height; y += 8) {
    for (int x = (y / 8) % 2 * 8; x < kSheetWidth; x += 16) cairo_rectangle(cr, x, y, 8, 8);
  }
  cairo_fill(cr);
}

}  // namespace

bool writeContactSheet(const std::vector<SheetEntry>& entries, const std::string& path,
                       std::string& error) {
  std::vector<Placement> places;
  const int height = layOut(entries, places);
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSheetWidth, height);
  cairo_t* cr = cairo_create(sheet);
  checkerBackground(cr, height);
  for (size_t i = 0; i < entries.size(); ++i) {
    const Canvas& pic = *entries[i].picture;
    cairo_save(cr);
    cairo_translate(cr, places[i].x, places[i].y);
    cairo_scale(cr, kScale, kScale);
    cairo_set_source_surface(cr, pic.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.1);
    const std::string& name = entries[i].name;
    const size_t slash = name.rfind('/');
    const std::string shortName = name.find("media/") == 0 ? name.substr(slash + 1) : name;
    drawTextAt(cr, Font::Regular, 10, shortName, places[i].x,
               places[i].y + pic.height() * kScale + 12);
  }
  cairo_destroy(cr);
  const bool written = tools::writePngFile(sheet, path, error);
  cairo_surface_destroy(sheet);
  return written;
}

}  // namespace mdx::media
