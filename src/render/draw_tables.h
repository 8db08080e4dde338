// The frame's larger drawing tables kept as data: landscape motions and the title robots.
#pragma once

#include <array>
#include <cstdint>

namespace mdx::render {

// How the landscape is placed, turned and scaled for one landscapeMotion value, with
// L = landscapeClock and W = waveClock in degrees:
//   rotation = landscapeAngleWeight * landscapeAngle + waveAmplitude * sin(waveFrequency * W)
//   centre   = (centreX + centreXAmplitude * sin(centreXFrequency * L),
//               centreY + centreYAmplitude * cos(centreYFrequency * L))
struct LandscapeMotion {
  float x, y;
  float landscapeAngleWeight;
  float waveAmplitude, waveFrequency;
  float centreX, centreXAmplitude, centreXFrequency;
  float centreY, centreYAmplitude, centreYFrequency;
  float scale;
};

// Rows for motions 0, 1 and 2; any value above 2 uses row 0, negative values draw nothing.
extern const std::array<LandscapeMotion, 3> kLandscapeMotions;

// One of the four robots flying over the title landscape, with L = landscapeClock:
//   x = stripX[stripCopy] + xOffset + xAmplitude * sin(xFrequency * L)
//   y = yBase + yAmplitude * cos(yFrequency * L)
//   rotation = rotationBase + rotationSin * sin(L) + rotationCos * cos(L)
struct TitleRobot {
  int32_t pictureWhenPhase0, pictureWhenPhase1;  // robotImages elements
  int32_t stripCopy;                             // which parallax2X copy it rides on
  float xOffset, xAmplitude, xFrequency;
  float yBase, yAmplitude, yFrequency;
  float rotationBase, rotationSin, rotationCos;
};

// The robots in drawing order.
extern const std::array<TitleRobot, 4> kTitleRobots;

}  // namespace mdx::render
