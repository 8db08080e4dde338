#include "gfxlib/turned_copy.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace mdx::gfx {
namespace {

// Corners on the picture are whole pixels counted in halves, so a pixel's middle is exact.
// Multiplying by kHalves is the renderer's shift by one bit, also for negative values.
constexpr int kHalves = 2;

struct Point {
  int x, y;
};

// Twice the signed area of a, b, c: the cross product of b - a and c - a.
int64_t cross(Point a, Point b, int cx, int cy) {
  return static_cast<int64_t>(b.x - a.x) * (cy - a.y) -
         static_cast<int64_t>(b.y - a.y) * (cx - a.x);
}

// Pixels on the edge a -> b belong to the triangle only on a top or a left edge.
bool isTopLeft(Point a, Point b, bool clockwise) {
  if (clockwise) return (a.y == b.y && a.x < b.x) || b.y < a.y;
  return (a.y == b.y && b.x < a.x) || a.y < b.y;
}

// The whole-number quotient of a value that grows by a fixed step, kept with its remainder
// in [0, divisor). The value never goes below zero inside a triangle, where it is a weighted sum
// of texel coordinates, so this quotient is the one the renderer's division gives. Each step
// carries at most one unit from the remainder, without a branch.
struct SteppedQuotient {
  int32_t quotient = 0, remainder = 0, stepQuotient = 0, stepRemainder = 0, divisor = 1;
  void next() {
    remainder += stepRemainder;
    const int32_t carry = remainder >= divisor ? 1 : 0;
    quotient += stepQuotient + carry;
    remainder -= carry * divisor;
  }
};

SteppedQuotient startQuotient(int64_t value, int64_t step, int64_t by) {
  SteppedQuotient q;
  q.quotient = static_cast<int32_t>(value / by);
  q.remainder = static_cast<int32_t>(value % by);
  q.stepQuotient = static_cast<int32_t>(step / by);
  q.stepRemainder = static_cast<int32_t>(step % by);
  q.divisor = static_cast<int32_t>(by);
  if (q.stepRemainder < 0) {
    q.stepRemainder += q.divisor;
    --q.stepQuotient;
  }
  return q;
}

// The part of one picture row inside the triangle, with the texel of its next pixel.
struct RowRun {
  uint32_t* out;
  int64_t next, last;
  SteppedQuotient u, v;
};

// Rows are copied in bands, a few dozen columns at a time: a turned picture's texels for one
// picture row lie across many texture rows, and a small block of the picture keeps them within
// a few cache lines.
constexpr int kBandRows = 16;
constexpr int64_t kBlockColumns = 32;

void copyBlock(const PixelRows& texture, RowRun& run, int64_t end) {
  // The run is worked on in locals: the picture's pixels could alias it for all the compiler
  // knows, which would send every step through memory.
  SteppedQuotient u = run.u, v = run.v;
  uint32_t* const out = run.out;
  const uint32_t* const texels = texture.pixels;
  const int32_t lastU = texture.width - 1, lastV = texture.height - 1, pitch = texture.pitch;
  int64_t x = run.next;
  for (; x <= end; ++x) {
    // Kept within the texture whatever the corners, though the sums never leave it.
    const int32_t tu = std::min(std::max(u.quotient, 0), lastU);
    const int32_t tv = std::min(std::max(v.quotient, 0), lastV);
    out[x] = texels[tv * pitch + tu];
    u.next();
    v.next();
  }
  run.next = x;
  run.u = u;
  run.v = v;
}

// The first x in [0, count) from which w + x * step + bias >= 0 holds, and the last; an empty
// range (first > last) when it never holds.
void narrowToInside(int64_t w, int64_t step, int64_t bias, int64_t& first, int64_t& last) {
  const int64_t start = w + bias;  // inside while start + x * step >= 0
  if (step == 0) {
    if (start < 0) last = first - 1;
    return;
  }
  if (step > 0) {
    // x >= -start / step, rounded up.
    const int64_t need = -start;
    const int64_t from = need <= 0 ? -((-need) / step) : (need + step - 1) / step;
    first = std::max(first, from);
  } else {
    // x <= start / -step, rounded down.
    const int64_t down = -step;
    const int64_t to = start >= 0 ? start / down : -((-start + down - 1) / down);
    last = std::min(last, to);
  }
}

}  // namespace

void copyTexturedTriangle(const PixelRows& texture, const TexturedCorner& a,
                          const TexturedCorner& b, const TexturedCorner& c,
                          const PixelRows& picture) {
  // Corners as the renderer takes them: screen positions cut to whole pixels towards zero,
  // texels as the share times the texture's size, cut the same way.
  const TexturedCorner* corners[3] = {&a, &b, &c};
  Point d[3], s[3];
  for (int i = 0; i < 3; ++i) {
    d[i] = {static_cast<int>(corners[i]->x) * kHalves, static_cast<int>(corners[i]->y) * kHalves};
    s[i] = {static_cast<int>(corners[i]->u * static_cast<float>(texture.width)),
            static_cast<int>(corners[i]->v * static_cast<float>(texture.height))};
  }
  int64_t area = cross(d[0], d[1], d[2].x, d[2].y);
  if (area == 0) return;
  // The texel range ends one short of the largest coordinate: the last texel is width - 1.
  const int maxU = std::max({s[0].x, s[1].x, s[2].x}), minU = std::min({s[0].x, s[1].x, s[2].x});
  const int maxV = std::max({s[0].y, s[1].y, s[2].y}), minV = std::min({s[0].y, s[1].y, s[2].y});
  for (Point& texel : s) {
    if (maxU > minU && texel.x == maxU) --texel.x;
    if (maxV > minV && texel.y == maxV) --texel.y;
  }
  // The bounding box in whole pixels, within the picture.
  const int minX = std::min({d[0].x, d[1].x, d[2].x}), maxX = std::max({d[0].x, d[1].x, d[2].x});
  const int minY = std::min({d[0].y, d[1].y, d[2].y}), maxY = std::max({d[0].y, d[1].y, d[2].y});
  // Whole pixels rounded down, as the renderer's arithmetic shift does.
  const auto wholePixels = [](int halves) {
    return halves >= 0 ? halves / kHalves : -((-halves + 1) / kHalves);
  };
  int left = wholePixels(minX), top = wholePixels(minY);
  int width = wholePixels(maxX - minX), height = wholePixels(maxY - minY);
  if (width <= 0 || height <= 0) return;
  const int right = std::min(left + width, picture.width),
            bottom = std::min(top + height, picture.height);
  left = std::max(left, 0);
  top = std::max(top, 0);
  if (right <= left || bottom <= top) return;

  const bool clockwise = area > 0;
  const int64_t sign = clockwise ? 1 : -1;
  area = std::abs(area);
  // Edge functions at the middle of the box's first pixel, and their steps per pixel.
  const int startX = left * kHalves + kHalves / 2;
  const int startY = top * kHalves + kHalves / 2;
  int64_t rowW[3] = {sign * cross(d[1], d[2], startX, startY),
                     sign * cross(d[2], d[0], startX, startY),
                     sign * cross(d[0], d[1], startX, startY)};
  const int64_t stepX[3] = {sign * ((d[1].y - d[2].y) * kHalves),
                            sign * ((d[2].y - d[0].y) * kHalves),
                            sign * ((d[0].y - d[1].y) * kHalves)};
  const int64_t stepY[3] = {sign * ((d[2].x - d[1].x) * kHalves),
                            sign * ((d[0].x - d[2].x) * kHalves),
                            sign * ((d[1].x - d[0].x) * kHalves)};
  const int64_t bias[3] = {isTopLeft(d[1], d[2], clockwise) ? 0 : -1,
                           isTopLeft(d[2], d[0], clockwise) ? 0 : -1,
                           isTopLeft(d[0], d[1], clockwise) ? 0 : -1};
  // A pixel's texel: (w0 * (s0 - s2) + w1 * (s1 - s2) + s2 * area) / area, for u and v.
  const int64_t uFrom0 = s[0].x - s[2].x, uFrom1 = s[1].x - s[2].x;
  const int64_t vFrom0 = s[0].y - s[2].y, vFrom1 = s[1].y - s[2].y;
  const int64_t uStep = stepX[0] * uFrom0 + stepX[1] * uFrom1;
  const int64_t vStep = stepX[0] * vFrom0 + stepX[1] * vFrom1;

  for (int bandTop = top; bandTop < bottom; bandTop += kBandRows) {
    RowRun runs[kBandRows];
    int count = 0;
    int64_t from = right - left, to = -1;
    for (int y = bandTop; y < std::min(bandTop + kBandRows, bottom); ++y) {
      int64_t first = 0, last = right - left - 1;
      for (int i = 0; i < 3; ++i) narrowToInside(rowW[i], stepX[i], bias[i], first, last);
      if (first <= last) {
        const int64_t w0 = rowW[0] + first * stepX[0], w1 = rowW[1] + first * stepX[1];
        runs[count++] = {picture.pixels + static_cast<long>(y) * picture.pitch + left, first, last,
                         startQuotient(w0 * uFrom0 + w1 * uFrom1 + s[2].x * area, uStep, area),
                         startQuotient(w0 * vFrom0 + w1 * vFrom1 + s[2].y * area, vStep, area)};
        from = std::min(from, first);
        to = std::max(to, last);
      }
      for (int i = 0; i < 3; ++i) rowW[i] += stepY[i];
    }
    for (int64_t block = from; block <= to; block += kBlockColumns) {
      for (int r = 0; r < count; ++r) {
        copyBlock(texture, runs[r], std::min(runs[r].last, block + kBlockColumns - 1));
      }
    }
  }
}

}  // namespace mdx::gfx
