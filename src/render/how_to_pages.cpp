// The text and examples of the How to play pages, as data. Each example sits on the play
// field's own grid, to the left of its text: columns 2 to 8, the rows beside the text.
#include <initializer_list>

#include "render/how_to_play.h"
#include "render/overlays.h"
#include "world/cell_table.h"

namespace mdx::render {
namespace {

using world::kBarSwitch;
using world::kBomb;
using world::kExit;
using world::kLiftButton;
using world::kLiftCar;
using world::kLiftShaft;
using world::kStairA;
using world::kStairB;
using world::kSwingBar;

// Piece types, as levels name them.
constexpr int32_t kPillar = 2;
constexpr int32_t kTee = 3;

// Blocks the examples are built of: grass for floors, grey stone for a wall, the conveyor's
// three parts.
constexpr int32_t kGrass = 1;
constexpr int32_t kStone = 6;
constexpr int32_t kConveyorLeft = 42;
constexpr int32_t kConveyorMiddle = 43;
constexpr int32_t kConveyorRight = 44;

using Example = std::vector<ExamplePart>;

ExamplePart block(int row, int column, int32_t code) {
  return {ExampleKind::Block, row, column, code};
}
ExamplePart device(int row, int column, int32_t code) {
  return {ExampleKind::Device, row, column, code};
}
ExamplePart robot(int row, int column) {
  return {ExampleKind::Robot, row, column};
}
ExamplePart falling(int row, int column, int32_t type) {
  return {ExampleKind::FallingPiece, row, column, type};
}
ExamplePart landed(int row, int column, int32_t type) {
  return {ExampleKind::LandedPiece, row, column, type};
}
ExamplePart mark(int row, int column, const char* text) {
  return {ExampleKind::Mark, row, column, 0, text};
}

// The parts, then a row of grass at row from column first to last, less the columns gaps.
Example withFloor(Example parts, int row, int first, int last,
                  std::initializer_list<int> gaps = {}) {
  for (int column = first; column <= last; ++column) {
    bool gap = false;
    for (int g : gaps) gap = gap || g == column;
    if (!gap) parts.push_back(block(row, column, kGrass));
  }
  return parts;
}

HowToPage goalPage() {
  return {"THE GOAL",
          {{6,
            {kGoalLine.c_str(), "Reaching it wins the level."},
            withFloor({robot(7, 3), device(7, 7, kExit)}, 8, 2, 8)},
           {10,
            {"First the pieces fall: {} and {} steer", "them, {} drops one fast."},
            {falling(9, 3, kPillar), mark(10, 3, "\u2190"), mark(10, 5, "\u2192"),
             mark(13, 4, "\u2193")},
            {{world::kCommandLeft}, {world::kCommandRight}, {world::kCommandDrop}}},
           {15,
            {"A piece fills a hole of its own shape flush",
             "with the floor; one that does not fit sticks up."},
            withFloor(withFloor({landed(14, 3, kTee), robot(15, 6)}, 16, 2, 8, {3, 4, 5}), 17, 2, 8,
                      {4})},
           {20,
            {"Then the robot sets off by itself.", "Stuck? {} restarts the level."},
            withFloor({robot(21, 4), mark(21, 6, "\u2192")}, 22, 2, 8),
            {{world::kCommandRestart, true}}}}};
}

HowToPage robotPage() {
  return {
      "THE ROBOT",
      {{6,
        {"It walks right by itself. A block in its way", "stops it for good: it never climbs one."},
        withFloor({robot(7, 3), mark(7, 5, "\u2192"), block(7, 7, kStone)}, 8, 2, 8)},
       {11,
        {"Where the floor ends it falls straight down", "until it lands on something."},
        withFloor(withFloor({robot(11, 4), mark(12, 5, "\u2193")}, 12, 2, 4), 14, 2, 8)},
       {16,
        {"Walking off one side, it comes back at the",
         "other; falling out, it drops in from the top."},
        withFloor({robot(17, 8), mark(17, 9, "\u2192"), mark(17, 1, "\u2192"), robot(17, 2)}, 18, 2,
                  8)},
       {21,
        {"While the pieces fall it waits: only where", "they end up matters."},
        withFloor({robot(22, 3), falling(19, 5, kPillar)}, 23, 2, 8)}}};
}

HowToPage machineryPage() {
  Example stairs = withFloor({robot(7, 2), device(7, 3, kStairA), device(6, 5, kStairB)}, 8, 2, 8);
  for (int column = 4; column <= 8; ++column) stairs.push_back(block(7, column, kStone));
  for (int column = 6; column <= 8; ++column) stairs.push_back(block(6, column, kStone));
  return {
      "STAIRS, LIFTS AND CONVEYORS",
      {{5,
        {"Stairs: the robot climbs onto the cell up and", "to the right; nothing else."},
        stairs},
       {10,
        {"Lift: the robot standing in the car rides", "three rows up and steps off to the right."},
        withFloor(withFloor({device(10, 4, kLiftShaft), device(11, 4, kLiftShaft),
                             device(12, 4, kLiftShaft), device(13, 4, kLiftCar), robot(13, 4)},
                            11, 5, 8),
                  14, 2, 8)},
       {15,
        {"Call button: stepping on it sinks every car", "with shaft below it three rows."},
        withFloor({robot(18, 2), device(18, 3, kLiftButton), device(15, 6, kLiftCar),
                   device(16, 6, kLiftShaft), device(17, 6, kLiftShaft), device(18, 6, kLiftShaft)},
                  19, 2, 8)},
       {21,
        {"Conveyor: carries the robot standing on it", "to the left, a cell at a time."},
        withFloor({robot(22, 5), mark(22, 3, "\u2190"), block(23, 3, kConveyorLeft),
                   block(23, 4, kConveyorMiddle), block(23, 5, kConveyorMiddle),
                   block(23, 6, kConveyorRight)},
                  23, 2, 8, {3, 4, 5, 6})}}};
}

HowToPage dangerPage() {
  return {
      "SWING BARS, BOMBS AND THE EXIT",
      {{6,
        {"Swing bar: a bridge until the robot steps on",
         "the switch; then every bar stands up as a wall."},
        withFloor({robot(8, 2), device(9, 4, kSwingBar), device(8, 8, kBarSwitch)}, 9, 2, 8,
                  {4, 5, 6})},
       {11,
        {"Bomb: walking into it or over it kills the", "robot. A piece falling on it blows up."},
        withFloor({robot(12, 3), device(12, 6, kBomb)}, 13, 2, 8)},
       {16,
        {"Exit: the robot reaching it wins the level,", "and the next level begins."},
        withFloor({robot(17, 3), device(17, 6, kExit)}, 18, 2, 8)}}};
}

}  // namespace

const std::array<HowToPage, world::kHowToPages>& howToPages() {
  static const std::array<HowToPage, world::kHowToPages> pages = {goalPage(), robotPage(),
                                                                  machineryPage(), dangerPage()};
  return pages;
}

}  // namespace mdx::render
