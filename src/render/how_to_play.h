// The How to play pages: the goal, the robot's rules and every device, each told in a line or
// two beside a small example drawn with the level's own pictures. They are shown over the
// landscape, in place of the title or the level, while Keys::howToPage names a page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "render/assets.h"
#include "world/game_state.h"

namespace mdx::render {

// What one part of an example shows.
enum class ExampleKind : uint8_t {
  Block,         // code: a block code
  Device,        // code: a device code
  Robot,         // the robot standing with its feet in the cell
  FallingPiece,  // code: a piece type, drawn as it falls, its 3 x 4 box's top-left in the cell
  LandedPiece,   // code: a piece type, drawn as it lies once landed, placed as FallingPiece
  Mark,          // mark: a short text (an arrow) drawn in the cell
};

// One part of an example at a cell of the play field's grid (the level's own cell positions).
struct ExamplePart {
  ExampleKind kind;
  int row, column;
  int32_t code = 0;
  const char* mark = nullptr;
};

// A key an entry's text names: the key the player has bound to the command, and its pad
// button with withPad ("R (pad: Y)").
struct KeyInText {
  world::CommandIndex command;
  bool withPad = false;
};

// One thing explained: its text beside its example.
struct HowToEntry {
  int textRow;                       // the grid row whose top the first text line starts at
  std::array<const char*, 2> lines;  // the second may be empty; each "{}" names the next key
  std::vector<ExamplePart> example;
  std::vector<KeyInText> keys = {};  // the keys the lines name, in order
};

// The entry's lines as shown, every "{}" replaced by its key's name.
std::array<std::string, 2> entryLines(const world::GameState& state, const HowToEntry& entry);

struct HowToPage {
  const char* heading;
  std::vector<HowToEntry> entries;
};

// The pages in order, page 1 first.
const std::array<HowToPage, world::kHowToPages>& howToPages();

// Draws the page state.keys.howToPage names (nothing for 0 or a page out of range): the frame,
// the heading, "2 / 4", the examples, their text and the keys that page and leave. Called by
// drawScene after the backgrounds.
void drawHowToPlay(const world::GameState& state, Assets& assets);

}  // namespace mdx::render
