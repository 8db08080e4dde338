#include "render/how_to_play.h"

#include <string>

#include "render/draw_helpers.h"
#include "render/overlays.h"
#include "render/play_field.h"
#include "world/grid.h"
#include "world/piece_table.h"

namespace mdx::render {

namespace {

// The frame covers the picture but for a 16-pixel rim of landscape.
constexpr float kPanelX = 16.0f;
constexpr float kPanelY = 16.0f;
// The heading sits on the menu's bar, the page number at the right of the same line.
constexpr float kHeadingBarX = 32.0f;
constexpr float kHeadingBarY = 24.0f;
constexpr int kHeadingX = 64;
constexpr int kHeadingY = 39;
constexpr int kPageNumberX = 560;
// The text beside the examples; lines of one entry are this far apart.
constexpr int kTextX = 196;
constexpr int kLineHeight = 17;
constexpr int kKeysLineX = 40;
constexpr int kKeysLineY = 438;

// Where no exit is shown its lights are drawn off the picture.
constexpr float kNoLight = -1000.0f;

// "2 / 4" for page 2, made once per page so drawing allocates nothing.
const std::string& pageNumberText(int32_t number) {
  static const std::array<std::string, world::kHowToPages> texts = [] {
    std::array<std::string, world::kHowToPages> made;
    for (int32_t page = 1; page <= world::kHowToPages; ++page) {
      made[static_cast<size_t>(page - 1)] =
          std::to_string(page) + " / " + std::to_string(world::kHowToPages);
    }
    return made;
  }();
  return texts[static_cast<size_t>(number - 1)];
}

// Puts a piece's cells into the example's layers: as it falls (its shape) or as it lies once
// landed (the cells it writes), its 3 x 4 box's top-left at (row, column).
void placePiece(world::World& world, const ExamplePart& part) {
  const world::PieceKind* kind = world::pieceKind(part.code);
  if (kind == nullptr) return;
  if (part.kind == ExampleKind::LandedPiece) {
    for (const world::CellWrite& write : kind->landWrites) {
      world::LevelGrid& layer =
          write.layer == world::Layer::Block ? world.blockLayer : world.deviceLayer;
      layer[static_cast<size_t>(
          world::cellIndex(part.row + write.row, part.column + write.column))] = write.value;
    }
    return;
  }
  world::LevelGrid& layer = kind->shapeInBlocks ? world.blockLayer : world.deviceLayer;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 3; ++column) {
      const int32_t code = kind->shape[static_cast<size_t>(row)][static_cast<size_t>(column)];
      if (code != 0)
        layer[static_cast<size_t>(world::cellIndex(part.row + row, part.column + column))] = code;
    }
  }
}

void placePart(world::World& world, const ExamplePart& part) {
  const size_t cell = static_cast<size_t>(world::cellIndex(part.row, part.column));
  switch (part.kind) {
    case ExampleKind::Block:
      world.blockLayer[cell] = part.code;
      break;
    case ExampleKind::Device:
      world.deviceLayer[cell] = part.code;
      break;
    case ExampleKind::Robot:
      world.blockLayer[cell] = world::kRobot;
      break;
    case ExampleKind::FallingPiece:
    case ExampleKind::LandedPiece:
      placePiece(world, part);
      break;
    case ExampleKind::Mark:
      break;
  }
}

// The page's examples as a level of their own, drawn by the play field with the animation of
// the picture behind (blinking bombs, turning wheels); the swing bars lie as bridges.
void drawExamples(const world::GameState& state, const HowToPage& page, Assets& assets) {
  world::GameState examples;
  examples.options.blocks3D = state.options.blocks3D;
  examples.scene = state.scene;
  examples.scene.gateAngle = 0.0f;
  examples.progress.gameState = world::StateRunning;
  examples.world.lightX = examples.world.lightY = kNoLight;
  for (const HowToEntry& entry : page.entries) {
    for (const ExamplePart& part : entry.example) placePart(examples.world, part);
  }
  examples.applyGates();
  drawPlayField(examples, assets);
  for (const HowToEntry& entry : page.entries) {
    for (const ExamplePart& part : entry.example) {
      if (part.kind != ExampleKind::Mark) continue;
      drawShadowedText(assets, part.mark, static_cast<int>(world::cellPixelX(part.column)) + 3,
                       static_cast<int>(world::cellPixelY(part.row)) + 1);
    }
  }
}

void drawEntryText(const world::GameState& state, const HowToEntry& entry, Assets& assets) {
  int y = static_cast<int>(world::cellPixelY(entry.textRow)) + 4;
  for (const std::string& line : entryLines(state, entry)) {
    if (line.empty()) continue;
    drawShadowedText(assets, line, kTextX, y);
    y += kLineHeight;
  }
}

// "Left / Right (pad: d-pad left / d-pad right)  turn the page      Esc (pad: B)  back".
// Escape and the pad's B always go back; the turning keys are the player's.
std::string keysLine(const world::GameState& state) {
  const world::KeyLabels& labels = state.keyLabels;
  std::string line = labels.keys[world::kCommandLeft] + " / " + labels.keys[world::kCommandRight];
  const std::string& padLeft = labels.pads[world::kCommandLeft];
  const std::string& padRight = labels.pads[world::kCommandRight];
  if (!padLeft.empty() || !padRight.empty()) {
    line += " (pad: " + (padLeft.empty() ? "-" : padLeft) + " / " +
            (padRight.empty() ? "-" : padRight) + ")";
  }
  return line + "  turn the page      Esc (pad: B)  back";
}

}  // namespace

std::array<std::string, 2> entryLines(const world::GameState& state, const HowToEntry& entry) {
  std::array<std::string, 2> shown;
  std::size_t nextKey = 0;
  for (std::size_t i = 0; i < entry.lines.size(); ++i) {
    if (entry.lines[i] == nullptr) continue;
    std::string line = entry.lines[i];
    for (std::size_t at = line.find("{}"); at != std::string::npos && nextKey < entry.keys.size();
         at = line.find("{}", at)) {
      const KeyInText& key = entry.keys[nextKey++];
      const std::string name = namedKey(state, key.command, key.withPad);
      line.replace(at, 2, name);
      at += name.size();
    }
    shown[i] = std::move(line);
  }
  return shown;
}

void drawHowToPlay(const world::GameState& state, Assets& assets) {
  const int32_t number = state.keys.howToPage;
  if (number < 1 || number > world::kHowToPages) return;
  const HowToPage& page = howToPages()[static_cast<size_t>(number - 1)];
  const uint32_t grey = greyColour(state.scene.fadeLevel);
  drawPlain(assets.rect02Image, kPanelX, kPanelY, grey);
  drawShadowed(assets.rect01Image, kHeadingBarX, kHeadingBarY, grey);
  drawShadowedText(assets, page.heading, kHeadingX, kHeadingY);
  drawShadowedText(assets, pageNumberText(number), kPageNumberX, kHeadingY);
  drawExamples(state, page, assets);
  for (const HowToEntry& entry : page.entries) drawEntryText(state, entry, assets);
  drawShadowedText(assets, keysLine(state), kKeysLineX, kKeysLineY);
}

}  // namespace mdx::render
