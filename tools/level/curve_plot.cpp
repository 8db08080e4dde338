#include "level/curve_plot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cairo_file.h"

namespace mdx::level {

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 520;
constexpr double kLeft = 70, kRight = 20, kTop = 40, kPanelHeight = 190, kGap = 50;

struct Colour {
  double r, g, b;
};
const Colour kPackColours[] = {{0.15, 0.35, 0.75}, {0.80, 0.30, 0.15}, {0.20, 0.60, 0.30}};

// What the two panels plot.
using Measure = double (*)(const LevelStats&);
double winPercent(const LevelStats& level) {
  return 100.0 * level.winShare();
}
double placements(const LevelStats& level) {
  return double(level.placementsSearched);
}

// A logarithmic axis from 10^low to 10^high over a panel.
struct LogAxis {
  int low, high;
  double top;

  double y(double value) const {
    const double exponent = std::log10(std::max(value, std::pow(10.0, low)));
    return top + kPanelHeight * (1.0 - (exponent - low) / (high - low));
  }
};

LogAxis axisFor(const std::vector<PackCurve>& packs, Measure measure, double top) {
  double smallest = 1e300, largest = 0;
  for (const PackCurve& pack : packs) {
    for (const LevelStats& point : pack.levels) {
      if (measure(point) > 0) smallest = std::min(smallest, measure(point));
      largest = std::max(largest, measure(point));
    }
  }
  if (largest <= 0) return {0, 1, top};
  const int low = static_cast<int>(std::floor(std::log10(smallest)));
  const int high = std::max(low + 1, static_cast<int>(std::ceil(std::log10(largest))));
  return {low, high, top};
}

void drawText(cairo_t* cr, double x, double y, const std::string& text, double size = 11) {
  cairo_set_font_size(cr, size);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}

void drawPanel(cairo_t* cr, const LogAxis& axis, const std::string& title) {
  cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
  cairo_set_line_width(cr, 1);
  for (int e = axis.low; e <= axis.high; ++e) {
    const double y = std::round(axis.y(std::pow(10.0, e))) + 0.5;
    cairo_move_to(cr, kLeft, y);
    cairo_line_to(cr, kWidth - kRight, y);
    cairo_stroke(cr);
  }
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
  for (int e = axis.low; e <= axis.high; ++e) {
    std::ostringstream label;
    label << std::pow(10.0, e);
    drawText(cr, 8, axis.y(std::pow(10.0, e)) + 4, label.str(), 10);
  }
  drawText(cr, kLeft, axis.top - 8, title, 13);
}

// Plots one field of every pack as connected dots, the packs one after another; with
// ringEstimates, a level whose count was cut short (an estimate) is a ring instead of a dot.
void drawSeries(cairo_t* cr, const std::vector<PackCurve>& packs, const LogAxis& axis,
                Measure measure, double step, bool ringEstimates) {
  int index = 0;
  for (size_t p = 0; p < packs.size(); ++p) {
    const Colour& colour = kPackColours[p % std::size(kPackColours)];
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    cairo_set_line_width(cr, 2);
    for (size_t i = 0; i < packs[p].levels.size(); ++i) {
      const double x = kLeft + step * (index + i + 0.5);
      const double y = axis.y(measure(packs[p].levels[i]));
      if (i == 0) cairo_move_to(cr, x, y);
      cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
    for (size_t i = 0; i < packs[p].levels.size(); ++i) {
      const LevelStats& level = packs[p].levels[i];
      cairo_arc(cr, kLeft + step * (index + i + 0.5), axis.y(measure(level)), 3.5, 0, 2 * M_PI);
      if (!ringEstimates || level.counted) {
        cairo_fill(cr);
        continue;
      }
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
    }
    index += static_cast<int>(packs[p].levels.size());
  }
}

// Level numbers under the lower panel and the packs' names in their colours.
void drawLabels(cairo_t* cr, const std::vector<PackCurve>& packs, double step, double y) {
  int index = 0;
  for (size_t p = 0; p < packs.size(); ++p) {
    const Colour& colour = kPackColours[p % std::size(kPackColours)];
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    for (size_t i = 0; i < packs[p].levels.size(); ++i) {
      const std::string number = std::to_string(i + 1);
      if (packs[p].levels.size() <= 16 || i % 2 == 0 || i + 1 == packs[p].levels.size()) {
        drawText(cr, kLeft + step * (index + i + 0.5) - 3.0 * number.size(), y, number, 9);
      }
    }
    drawText(cr, kLeft + step * index, y + 16, packs[p].pack, 12);
    index += static_cast<int>(packs[p].levels.size());
  }
}

}  // namespace

bool drawCurve(const std::vector<PackCurve>& packs, const std::string& png, std::string& error) {
  size_t total = 0;
  for (const PackCurve& pack : packs) total += pack.levels.size();
  const double step = (kWidth - kLeft - kRight) / std::max<size_t>(total, 1);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);

  const LogAxis share = axisFor(packs, winPercent, kTop);
  const LogAxis searched = axisFor(packs, placements, kTop + kPanelHeight + kGap);
  drawPanel(cr, share,
            "win share in % (lower is harder; rings: estimated, on the floor: no random "
            "sequence won)");
  drawPanel(cr, searched, "placements searched by the solver");
  drawSeries(cr, packs, share, winPercent, step, true);
  drawSeries(cr, packs, searched, placements, step, false);
  drawLabels(cr, packs, step, searched.top + kPanelHeight + 14);

  cairo_destroy(cr);
  const bool written = tools::writePngFile(surface, png, error);
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace mdx::level
