// The editor window's panels: palette, canvas with its mouse tools and path preview, the side
// panel (pieces, look values, proof, play-test, export) and the prompts.
#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "edit/pack_export.h"
#include "edit/palette.h"
#include "edit/sdl_editor.h"
#include "gfxlib/sdl_display.h"

namespace mdx::edit {

namespace {

constexpr float kPaletteWidth = 230.0f;
constexpr float kSideWidth = 330.0f;
constexpr float kStatusHeight = 30.0f;
constexpr float kSwatch = 19.0f * 1.5f;
constexpr ImU32 kGridColour = IM_COL32(255, 255, 255, 60);
constexpr ImU32 kDragColour = IM_COL32(255, 220, 0, 255);
constexpr ImU32 kGhostColour = IM_COL32(0, 200, 255, 220);
constexpr ImU32 kPathColour = IM_COL32(255, 60, 60, 230);

const char* const kPieceNames[] = {"none", "lift", "pillar", "tee", "rightarm", "leftarm"};

// The value choices of each look value: what the game knows.
struct LookChoice {
  const char* label;
  LookValue value;
  int32_t first, last;
};
constexpr LookChoice kLookChoices[] = {
    {"landscape", LookValue::LandscapeChoice, 1, 3},
    {"landscape motion", LookValue::LandscapeMotion, 0, 2},
    {"upper strip", LookValue::Parallax1On, 0, 1},
    {"lower strip (2 shows it)", LookValue::Parallax2Mode, 0, 2},
    {"music", LookValue::LevelMusic, 1, 3},
};

// The game's picture shows rows 1 (cut) to 26 (cut); the editor adds a strip for row 0 above
// it and one for row 27 below it, since both take part in the rules.
constexpr int kTopRow = 0;
constexpr int kBottomRow = world::kRows - 1;
constexpr float kHalfCell = world::kCellSize / 2.0f;
constexpr ImU32 kStripColour = IM_COL32(60, 60, 70, 255);

// Where the middle of cell k is on screen, for a picture whose top-left corner is (x0, y0).
ImVec2 cellCentre(int k, float x0, float y0, float zoom) {
  const int row = k / world::kColumns, column = k % world::kColumns;
  float y = world::cellPixelY(row) + kHalfCell;
  if (row == kTopRow) y = -kHalfCell;
  if (row == kBottomRow) y = gfx::kScreenHeight + kHalfCell;
  return ImVec2(x0 + (world::cellPixelX(column) + kHalfCell) * zoom, y0 + y * zoom);
}

// The row under picture height y (in picture pixels, negative in the top strip); -1 outside.
int rowAt(float y) {
  if (y < -world::kCellSize || y >= gfx::kScreenHeight + world::kCellSize) return -1;
  if (y < 0) return kTopRow;
  if (y >= gfx::kScreenHeight) return kBottomRow;
  return std::clamp(static_cast<int>((y - world::cellPixelY(0)) / world::kCellSize), kTopRow + 1,
                    kBottomRow - 1);
}

}  // namespace

void EditorWindow::drawMenu() {
  if (!ImGui::BeginMenuBar()) return;
  if (ImGui::BeginMenu("File")) {
    if (ImGui::MenuItem("New", "Ctrl+N")) ask(Pending::NewLevel);
    if (ImGui::MenuItem("Open...", "Ctrl+O")) ask(Pending::OpenFile);
    if (ImGui::MenuItem("Save", "Ctrl+S")) save(false);
    if (ImGui::MenuItem("Save as...", "Ctrl+Shift+S")) save(true);
    if (ImGui::MenuItem("Quit")) ask(Pending::Quit);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Edit")) {
    if (ImGui::MenuItem("Undo", "Ctrl+Z", false, model_.undoSteps() > 0)) model_.undo();
    if (ImGui::MenuItem("Redo", "Ctrl+Y", false, model_.redoSteps() > 0)) model_.redo();
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("View")) {
    if (ImGui::MenuItem("1x", nullptr, zoom_ == 1)) zoom_ = 1;
    if (ImGui::MenuItem("2x", nullptr, zoom_ == 2)) zoom_ = 2;
    ImGui::MenuItem("Grid lines", nullptr, &gridLines_);
    ImGui::MenuItem("Blocks", nullptr, &view_.blocks);
    ImGui::MenuItem("Devices", nullptr, &view_.devices);
    ImGui::MenuItem("Landscape and strips", nullptr, &view_.scenery);
    ImGui::EndMenu();
  }
  ImGui::EndMenuBar();
}

void EditorWindow::drawPalette() {
  const float height = ImGui::GetContentRegionAvail().y - kStatusHeight;
  ImGui::BeginChild("palette", ImVec2(kPaletteWidth, height), true);
  ImGui::TextUnformatted("Palette");
  ImGui::SetNextItemWidth(-1);
  ImGui::InputTextWithHint("##filter", "search by name", filter_, sizeof filter_);
  ImGui::Text("brush: %s", brushName(brush_).c_str());
  ImGui::Separator();
  for (const PaletteEntry* entry : searchPalette(filter_)) {
    ImGui::PushID(entry->name.c_str());
    PaletteTile tile;
    if (canvas_->paletteTile(entry->brush, tile)) {
      ImGui::Image(canvas_->paletteTexture(), ImVec2(kSwatch, kSwatch), ImVec2(tile.u0, tile.v0),
                   ImVec2(tile.u1, tile.v1));
      ImGui::SameLine();
    }
    const bool chosen = entry->brush.layer == brush_.layer && entry->brush.code == brush_.code;
    if (ImGui::Selectable(entry->name.c_str(), chosen, 0, ImVec2(0, kSwatch))) {
      brush_ = entry->brush;
    }
    ImGui::PopID();
  }
  ImGui::EndChild();
}

void EditorWindow::drawCanvas() {
  const float width = ImGui::GetContentRegionAvail().x - kSideWidth;
  const float height = ImGui::GetContentRegionAvail().y - kStatusHeight;
  ImGui::BeginChild("canvas", ImVec2(width, height), true, ImGuiWindowFlags_HorizontalScrollbar);
  const bool previewing = preview_ && path_.valid;
  const world::GameState shown = previewing ? worldAtStep(path_, previewStep_) : levelState_;
  SDL_Texture* texture = canvas_->draw(shown, view_);
  const float zoom = static_cast<float>(zoom_);
  const float strip = world::kCellSize * zoom;
  ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(0, 0));
  ImGui::Dummy(ImVec2(gfx::kScreenWidth * zoom, strip));
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  log("canvas", std::to_string(static_cast<int>(origin.x)) + " " +
                    std::to_string(static_cast<int>(origin.y)) + " " + std::to_string(zoom_));
  ImGui::Image(texture, ImVec2(gfx::kScreenWidth * zoom, gfx::kScreenHeight * zoom));
  ImGui::Dummy(ImVec2(gfx::kScreenWidth * zoom, strip));
  ImGui::PopStyleVar();
  drawHiddenRows(shown, origin.x, origin.y, zoom);
  const ImVec2 mouse = ImGui::GetIO().MousePos;
  const float x = (mouse.x - origin.x) / zoom, y = (mouse.y - origin.y) / zoom;
  const bool hovered = ImGui::IsWindowHovered() && x >= 0 && x < gfx::kScreenWidth && rowAt(y) >= 0;
  hoverRow_ = hoverColumn_ = -1;
  if (hovered) {
    hoverColumn_ = std::clamp(static_cast<int>(x / world::kCellSize), 0, world::kColumns - 1);
    hoverRow_ = rowAt(y);
  }
  if (!previewing) handleCanvasMouse(hovered, origin.x, origin.y, zoom);
  drawCanvasOverlay(origin.x, origin.y, zoom);
  ImGui::EndChild();
}

// Rows 0 and 27, which the game never shows, as strips of palette pictures: the block, then
// the device over it.
void EditorWindow::drawHiddenRows(const world::GameState& state, float x0, float y0, float zoom) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const float size = world::kCellSize * zoom;
  for (int row : {kTopRow, kBottomRow}) {
    const float top = row == kTopRow ? y0 - size : y0 + gfx::kScreenHeight * zoom;
    draw->AddRectFilled(ImVec2(x0, top), ImVec2(x0 + gfx::kScreenWidth * zoom, top + size),
                        kStripColour);
    for (int column = 0; column < world::kColumns; ++column) {
      const int k = world::cellIndex(row, column);
      const ImVec2 p0(x0 + world::cellPixelX(column) * zoom, top);
      const ImVec2 p1(p0.x + size, p0.y + size);
      const Brush layers[] = {{Layer::Blocks, view_.blocks ? state.world.blockLayer[k] : 0},
                              {Layer::Devices, view_.devices ? state.world.deviceLayer[k] : 0}};
      for (const Brush& brush : layers) {
        PaletteTile tile;
        if (brush.code == 0 || !canvas_->paletteTile(brush, tile)) continue;
        draw->AddImage(canvas_->paletteTexture(), p0, p1, ImVec2(tile.u0, tile.v0),
                       ImVec2(tile.u1, tile.v1));
      }
    }
  }
}

// Left paints, right erases the brush's layer; a drag fills the rectangle it spans, shown
// while the button is held.
void EditorWindow::handleCanvasMouse(bool hovered, float x0, float y0, float zoom) {
  if (hovered && !dragging_) {
    for (int button : {ImGuiMouseButton_Left, ImGuiMouseButton_Right}) {
      if (!ImGui::IsMouseClicked(button)) continue;
      dragging_ = true;
      dragErases_ = button == ImGuiMouseButton_Right;
      dragRow_ = hoverRow_;
      dragColumn_ = hoverColumn_;
    }
  }
  if (!dragging_) return;
  const int button = dragErases_ ? ImGuiMouseButton_Right : ImGuiMouseButton_Left;
  const int row = hoverRow_ >= 0 ? hoverRow_ : dragRow_;
  const int column = hoverColumn_ >= 0 ? hoverColumn_ : dragColumn_;
  if (ImGui::IsMouseReleased(button)) {
    dragging_ = false;
    const Brush brush = dragErases_ ? Brush{brush_.layer, 0} : brush_;
    model_.fillRect(dragRow_, dragColumn_, row, column, brush);
    return;
  }
  const ImVec2 a = cellCentre(
      world::cellIndex(std::min(row, dragRow_), std::min(column, dragColumn_)), x0, y0, zoom);
  const ImVec2 b = cellCentre(
      world::cellIndex(std::max(row, dragRow_), std::max(column, dragColumn_)), x0, y0, zoom);
  const float half = 9.5f * zoom;
  ImGui::GetWindowDrawList()->AddRect(ImVec2(a.x - half, a.y - half),
                                      ImVec2(b.x + half, b.y + half), kDragColour, 0, 0, 2);
}

void EditorWindow::drawCanvasOverlay(float x0, float y0, float zoom) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  if (gridLines_) {
    for (int column = 1; column < world::kColumns; ++column) {
      const float x = x0 + world::cellPixelX(column) * zoom;
      draw->AddLine(ImVec2(x, y0 - world::kCellSize * zoom),
                    ImVec2(x, y0 + (gfx::kScreenHeight + world::kCellSize) * zoom), kGridColour);
    }
    // Row tops inside the picture, and the picture's own edges where the strips meet it.
    std::vector<float> lines = {0.0f, static_cast<float>(gfx::kScreenHeight)};
    for (int row = 2; row < kBottomRow; ++row) lines.push_back(world::cellPixelY(row));
    for (float line : lines) {
      const float y = y0 + line * zoom;
      draw->AddLine(ImVec2(x0, y), ImVec2(x0 + gfx::kScreenWidth * zoom, y), kGridColour);
    }
  }
  if (!preview_ || !path_.valid) return;
  const float half = 9.5f * zoom;
  for (int k : path_.ghostCells) {
    const ImVec2 c = cellCentre(k, x0, y0, zoom);
    draw->AddRect(ImVec2(c.x - half, c.y - half), ImVec2(c.x + half, c.y + half), kGhostColour, 0,
                  0, 2);
  }
  // The walk: a line through the cells, broken where the robot wraps round an edge; a mark
  // at every world step, a larger one every tenth and a ring at the scrubbed step.
  const auto& cells = path_.robotCells;
  for (size_t i = 0; i < cells.size(); ++i) {
    const ImVec2 c = cellCentre(cells[i], x0, y0, zoom);
    if (i > 0) {
      const ImVec2 p = cellCentre(cells[i - 1], x0, y0, zoom);
      if (std::abs(p.x - c.x) <= 2 * half + 1 && std::abs(p.y - c.y) <= 2 * half + 1) {
        draw->AddLine(p, c, kPathColour, 2.0f);
      }
    }
    draw->AddCircleFilled(c, i % 10 == 0 ? 3.0f * zoom : 1.5f * zoom, kPathColour);
    if (static_cast<int>(i) == previewStep_) draw->AddCircle(c, half, kPathColour, 0, 2.0f);
  }
}

void EditorWindow::drawSidePanel() {
  const float height = ImGui::GetContentRegionAvail().y - kStatusHeight;
  ImGui::BeginChild("side", ImVec2(0, height), true);
  drawPieces();
  ImGui::Separator();
  drawLook();
  ImGui::Separator();
  drawProof();
  ImGui::EndChild();
}

void EditorWindow::drawPieces() {
  const level::LevelSource& level = model_.level();
  ImGui::Text("Pieces (%d of 10)", level.pieceCount);
  for (int i = 0; i < std::min(level.pieceCount, kMaxPieces); ++i) {
    ImGui::PushID(i);
    int type = std::clamp(level.pieceTypes[static_cast<size_t>(i)], 0, 5);
    ImGui::Text("%2d", i + 1);
    ImGui::SameLine();
    ImGui::SetNextItemWidth(120);
    int shown = type - 1;
    if (ImGui::Combo("##type", &shown, kPieceNames + 1, 5)) model_.setPieceType(i, shown + 1);
    ImGui::SameLine();
    if (ImGui::ArrowButton("up", ImGuiDir_Up)) model_.movePiece(i, -1);
    ImGui::SameLine();
    if (ImGui::ArrowButton("down", ImGuiDir_Down)) model_.movePiece(i, 1);
    ImGui::SameLine();
    if (ImGui::SmallButton("remove")) model_.removePiece(i);
    ImGui::PopID();
  }
  for (int32_t type = 1; type <= 5; ++type) {
    if (type > 1) ImGui::SameLine();
    ImGui::PushID(type);
    if (ImGui::SmallButton(("+" + std::string(kPieceNames[type])).c_str())) model_.addPiece(type);
    ImGui::PopID();
  }
}

void EditorWindow::drawLook() {
  ImGui::TextUnformatted("Look");
  for (const LookChoice& choice : kLookChoices) {
    int value = model_.value(choice.value);
    ImGui::SetNextItemWidth(120);
    if (ImGui::SliderInt(choice.label, &value, choice.first, choice.last)) {
      model_.setValue(choice.value, value);
    }
  }
}

}  // namespace mdx::edit
