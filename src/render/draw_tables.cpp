#include "render/draw_tables.h"

namespace mdx::render {

// clang-format off
const std::array<LandscapeMotion, 3> kLandscapeMotions = {{
  //  x     y    angle  wave amp  wave f  cX   cX amp cX f  cY   cY amp cY f  scale
  {-80, -160,   1.0f,    0.0f,    0.0f, 400,  5.0f, 8.0f, 400, 10.0f, 8.0f, 1.0f},  // rocks
  {-25,  -50,   0.0f, -0.0625f,  16.0f, 400, 10.0f, 1.0f, 420,  0.0f, 0.0f, 0.9f},  // sways
  {-80, -160,   0.0f,   20.0f,    1.0f, 400,  5.0f, 8.0f, 400, 10.0f, 8.0f, 1.0f},  // swings
}};

const std::array<TitleRobot, 4> kTitleRobots = {{
  // pictures  strip  x off  x amp  x f    y    y amp  y f   rot    sin    cos
  {2, 3,       1,     220, -10.0f, 2.0f,  410, -10.0f, 4.0f, 0.28f, -0.25f, 0.0f},
  {1, 0,       1,     370,  60.0f, 0.25f, 398,  10.0f, 4.0f, -0.175f, 0.25f, 0.0f},
  {3, 2,       0,      50,  10.0f, 2.0f,  440,  10.0f, 4.0f, 0.125f, -0.25f, 0.0f},
  {2, 3,       0,     550, -10.0f, 2.0f,  435,  10.0f, 4.0f, -0.175f, 0.0f, -0.25f},
}};
// clang-format on

}  // namespace mdx::render
