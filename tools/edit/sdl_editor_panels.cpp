// The editor window's panels: palette, canvas with its mouse tools and path preview, the side
// panel (pieces, look values, proof, play-test, export) and the prompts.
#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "base/text.h"
#include "edit/canvas_geometry.h"
#include "edit/pack_export.h"
#include "edit/palette.h"
#include "edit/sdl_editor.h"
#include "gfxlib/sdl_display.h"
#include "level/level_source.h"

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
constexpr ImU32 kSelectionColour = IM_COL32(80, 160, 255, 255);
constexpr ImU32 kSelectionFill = IM_COL32(80, 160, 255, 60);

// The piece types a level can hand out, 1 to 5, by the names level sources give them.
const char* const* pieceChoices() {
  static const char* const names[] = {level::pieceTypeName(1), level::pieceTypeName(2),
                                      level::pieceTypeName(3), level::pieceTypeName(4),
                                      level::pieceTypeName(5)};
  return names;
}

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

constexpr ImU32 kStripColour = IM_COL32(60, 60, 70, 255);
constexpr float kHalfCell = world::kCellSize / 2.0f;
constexpr float kLookLabelWidth = 175.0f;
constexpr float kLookNumberWidth = 30.0f;

// A point of the grid (in grid pixels at zoom 1) on screen.
ImVec2 onScreen(ImVec2 origin, float x, float y, float zoom) {
  return ImVec2(origin.x + x * zoom, origin.y + y * zoom);
}

// The top-left corner of the cell at (row, column) on screen; (kRows, kColumns) is the grid's
// bottom-right corner.
ImVec2 cellCorner(int row, int column, ImVec2 origin, float zoom) {
  return onScreen(origin, cellGridX(column), cellGridY(row), zoom);
}

// A frame round the cells of rect.
void outlineCells(ImDrawList* draw, const CellRect& rect, ImVec2 origin, float zoom, ImU32 colour) {
  draw->AddRect(cellCorner(rect.top, rect.left, origin, zoom),
                cellCorner(rect.bottom + 1, rect.right + 1, origin, zoom), colour, 0, 0, 2);
}

// Where the middle of cell k is on screen.
ImVec2 cellCentre(int k, ImVec2 origin, float zoom) {
  const int row = k / world::kColumns, column = k % world::kColumns;
  return onScreen(origin, cellGridX(column) + kHalfCell, cellGridY(row) + kHalfCell, zoom);
}

}  // namespace

void EditorWindow::drawMenu() {
  if (!ImGui::BeginMenuBar()) return;
  if (ImGui::BeginMenu("File")) {
    if (ImGui::MenuItem("New", "Ctrl+N")) ask(Pending::NewLevel);
    if (ImGui::MenuItem("Open...", "Ctrl+O")) ask(Pending::OpenFile);
    if (ImGui::MenuItem("Save", "Ctrl+S")) save(false);
    if (ImGui::MenuItem("Save as...", "Ctrl+Shift+S")) save(true);
    if (ImGui::MenuItem("Pack manager", "Ctrl+P")) packPanel_->toggle();
    if (ImGui::MenuItem("Quit")) ask(Pending::Quit);
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Edit")) {
    if (ImGui::MenuItem("Undo", "Ctrl+Z", false, model_.undoSteps() > 0)) model_.undo();
    if (ImGui::MenuItem("Redo", "Ctrl+Y", false, model_.redoSteps() > 0)) model_.redo();
    ImGui::EndMenu();
  }
  drawToolsMenu();
  if (ImGui::BeginMenu("View")) {
    ImGui::MenuItem("Zoom to fit the window", nullptr, &canvasState_.zoomToFit);
    for (float zoom : {1.0f, 2.0f, 3.0f}) {
      const std::string label = std::to_string(static_cast<int>(zoom)) + "x";
      if (ImGui::MenuItem(label.c_str(), nullptr,
                          !canvasState_.zoomToFit && canvasState_.zoom == zoom)) {
        canvasState_.zoom = zoom;
        canvasState_.zoomToFit = false;
      }
    }
    ImGui::MenuItem("Grid lines", nullptr, &canvasState_.gridLines);
    ImGui::MenuItem("Blocks", nullptr, &canvasState_.view.blocks);
    ImGui::MenuItem("Devices", nullptr, &canvasState_.view.devices);
    ImGui::MenuItem("Landscape and strips", nullptr, &canvasState_.view.scenery);
    ImGui::EndMenu();
  }
  drawShareMenu();
  if (ImGui::BeginMenu("Help")) {
    if (ImGui::MenuItem("Keys and mouse", "F1")) prompts_.askKeys = true;
    ImGui::EndMenu();
  }
  ImGui::EndMenuBar();
}

void EditorWindow::drawPalette() {
  const float height = ImGui::GetContentRegionAvail().y - kStatusHeight;
  ImGui::BeginChild("palette", ImVec2(kPaletteWidth, height), true);
  ImGui::TextUnformatted("Palette");
  ImGui::SetNextItemWidth(-1);
  ImGui::InputTextWithHint("##filter", "search by name", palette_.filter, sizeof palette_.filter);
  logPlace("search");
  ImGui::Text("brush: %s", brushName(palette_.brush).c_str());
  log("brush", brushName(palette_.brush));
  ImGui::Text("tool: %s (Tools menu)", toolName(region_.tool));
  ImGui::Separator();
  const std::vector<const PaletteEntry*> entries = searchPalette(palette_.filter);
  for (const PaletteEntry* entry : entries) {
    ImGui::PushID(entry->name.c_str());
    PaletteTile tile;
    if (canvas_->paletteTile(entry->brush, tile)) {
      ImGui::Image(canvas_->paletteTexture(), ImVec2(kSwatch, kSwatch), ImVec2(tile.u0, tile.v0),
                   ImVec2(tile.u1, tile.v1));
      ImGui::SameLine();
    }
    const bool chosen =
        entry->brush.layer == palette_.brush.layer && entry->brush.code == palette_.brush.code;
    if (ImGui::Selectable(entry->name.c_str(), chosen, 0, ImVec2(0, kSwatch))) {
      palette_.brush = entry->brush;
    }
    if (entry == entries.front()) logPlace("first-brush");
    ImGui::PopID();
  }
  ImGui::EndChild();
}

// The whole grid at the zoom, with the game's picture in its place; the cells the picture
// leaves out are drawn from the palette's pictures.
void EditorWindow::drawCanvas() {
  const float width = ImGui::GetContentRegionAvail().x - kSideWidth;
  const float height = ImGui::GetContentRegionAvail().y - kStatusHeight;
  ImGui::BeginChild("canvas", ImVec2(width, height), true, ImGuiWindowFlags_HorizontalScrollbar);
  if (canvasState_.zoomToFit) {
    const ImVec2 room = ImGui::GetContentRegionAvail();
    canvasState_.zoom = fitZoom(room.x, room.y);
  }
  const bool previewing = proofShown_.preview && proofShown_.path.valid;
  const world::GameState shown =
      previewing ? worldAtStep(proofShown_.path, proofShown_.previewStep) : levelState_;
  SDL_Texture* texture = canvas_->draw(shown, canvasState_.view);
  const float zoom = canvasState_.zoom;
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  ImGui::Dummy(ImVec2(kGridWidth * zoom, kGridHeight * zoom));
  ImDrawList* draw = ImGui::GetWindowDrawList();
  draw->AddRectFilled(origin, onScreen(origin, kGridWidth, kGridHeight, zoom), kStripColour);
  draw->AddImage(
      texture, onScreen(origin, kPictureLeft, kPictureTop, zoom),
      onScreen(origin, kPictureLeft + gfx::kScreenWidth, kPictureTop + gfx::kScreenHeight, zoom));
  drawHiddenCells(shown, origin, zoom);
  const ImVec2 mouse = ImGui::GetIO().MousePos;
  int row = -1, column = -1;
  const bool hovered =
      ImGui::IsWindowHovered() &&
      cellAtGrid((mouse.x - origin.x) / zoom, (mouse.y - origin.y) / zoom, row, column);
  canvasState_.hoverRow = hovered ? row : -1;
  canvasState_.hoverColumn = hovered ? column : -1;
  char place[96];
  std::snprintf(place, sizeof place, "%.0f %.0f %.2f %.0f %.0f", origin.x, origin.y, zoom,
                ImGui::GetScrollMaxX(), ImGui::GetScrollMaxY());
  log("canvas", place);
  handleCanvasMouse(hovered, origin, zoom);
  drawCanvasOverlay(origin, zoom);
  ImGui::EndChild();
}

// The cells outside the game's picture (rows 0 and 27, the cut-off parts of rows 1 and 26 and
// of column 33), the block and then the device over it, clipped to the strips around it.
void EditorWindow::drawHiddenCells(const world::GameState& state, ImVec2 origin, float zoom) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const float pictureRight = kPictureLeft + gfx::kScreenWidth;
  const float pictureBottom = kPictureTop + gfx::kScreenHeight;
  const ImVec2 strips[][2] = {
      {ImVec2(0, 0), ImVec2(kGridWidth, kPictureTop)},
      {ImVec2(0, pictureBottom), ImVec2(kGridWidth, kGridHeight)},
      {ImVec2(pictureRight, kPictureTop), ImVec2(kGridWidth, pictureBottom)}};
  for (const auto& strip : strips) {
    draw->PushClipRect(onScreen(origin, strip[0].x, strip[0].y, zoom),
                       onScreen(origin, strip[1].x, strip[1].y, zoom), true);
    for (int k = 0; k < world::kCells; ++k) {
      const float x = cellGridX(k % world::kColumns), y = cellGridY(k / world::kColumns);
      if (x + world::kCellSize <= strip[0].x || x >= strip[1].x ||
          y + world::kCellSize <= strip[0].y || y >= strip[1].y) {
        continue;
      }
      const ImVec2 p0 = onScreen(origin, x, y, zoom);
      const ImVec2 p1 = onScreen(origin, x + world::kCellSize, y + world::kCellSize, zoom);
      const Brush layers[] = {
          {Layer::Blocks, canvasState_.view.blocks ? state.world.blockLayer[k] : 0},
          {Layer::Devices, canvasState_.view.devices ? state.world.deviceLayer[k] : 0}};
      for (const Brush& brush : layers) {
        PaletteTile tile;
        if (brush.code == 0 || !canvas_->paletteTile(brush, tile)) continue;
        draw->AddImage(canvas_->paletteTexture(), p0, p1, ImVec2(tile.u0, tile.v0),
                       ImVec2(tile.u1, tile.v1));
      }
    }
    draw->PopClipRect();
  }
}

// A button goes down on a cell and comes up on another: the tool acts then (endDrag), and
// until then what it will change is outlined. Editing while the robot's path is shown hides
// the path: it belongs to the level before the edit, and the proof draws the new one once it
// has it.
void EditorWindow::handleCanvasMouse(bool hovered, ImVec2 origin, float zoom) {
  const int hoverRow = canvasState_.hoverRow, hoverColumn = canvasState_.hoverColumn;
  if (hovered && !drag_.active) {
    for (int button : {ImGuiMouseButton_Left, ImGuiMouseButton_Right}) {
      if (!ImGui::IsMouseClicked(button)) continue;
      drag_.active = true;
      drag_.erases = button == ImGuiMouseButton_Right;
      drag_.tool = region_.tool;
      drag_.moves = region_.tool == Tool::Select && !drag_.erases && region_.selected &&
                    region_.selection.holds(hoverRow, hoverColumn);
      drag_.row = hoverRow;
      drag_.column = hoverColumn;
      canvasState_.markedCell = -1;
      proofShown_.preview = false;
    }
  }
  if (!drag_.active) return;
  const int button = drag_.erases ? ImGuiMouseButton_Right : ImGuiMouseButton_Left;
  const int row = hoverRow >= 0 ? hoverRow : drag_.row;
  const int column = hoverColumn >= 0 ? hoverColumn : drag_.column;
  if (ImGui::IsMouseReleased(button)) {
    drag_.active = false;
    endDrag(row, column);
    return;
  }
  drawDrag(row, column, origin, zoom);
}

void EditorWindow::drawDrag(int row, int column, ImVec2 origin, float zoom) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  CellRect rect;
  switch (drag_.tool) {
    case Tool::Line:
      for (int k : lineCells(drag_.row, drag_.column, row, column)) {
        const int cellRow = k / world::kColumns, cellColumn = k % world::kColumns;
        outlineCells(draw, {cellRow, cellColumn, cellRow, cellColumn}, origin, zoom, kDragColour);
      }
      return;
    case Tool::Fill:
      rectBetween(drag_.row, drag_.column, drag_.row, drag_.column, rect);
      break;
    case Tool::Select:
      if (drag_.erases) return;  // it only lets go of the selection
      if (drag_.moves) {
        rect = movedSelection(row, column);
        break;
      }
      [[fallthrough]];
    case Tool::Paint:
      rectBetween(drag_.row, drag_.column, row, column, rect);
      break;
  }
  outlineCells(draw, rect, origin, zoom, kDragColour);
}

void EditorWindow::drawCanvasOverlay(ImVec2 origin, float zoom) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  if (canvasState_.gridLines) {
    for (int column = 1; column < world::kColumns; ++column) {
      draw->AddLine(onScreen(origin, cellGridX(column), 0, zoom),
                    onScreen(origin, cellGridX(column), kGridHeight, zoom), kGridColour);
    }
    for (int row = 1; row < world::kRows; ++row) {
      draw->AddLine(onScreen(origin, 0, cellGridY(row), zoom),
                    onScreen(origin, kGridWidth, cellGridY(row), zoom), kGridColour);
    }
  }
  if (region_.selected) {
    const CellRect& rect = region_.selection;
    draw->AddRectFilled(cellCorner(rect.top, rect.left, origin, zoom),
                        cellCorner(rect.bottom + 1, rect.right + 1, origin, zoom), kSelectionFill);
    outlineCells(draw, region_.selection, origin, zoom, kSelectionColour);
  }
  const float half = kHalfCell * zoom;
  if (canvasState_.markedCell >= 0) {
    draw->AddCircle(cellCentre(canvasState_.markedCell, origin, zoom), 2 * half, kDragColour, 0,
                    3.0f);
  }
  if (!proofShown_.preview || !proofShown_.path.valid) return;
  for (int k : proofShown_.path.ghostCells) {
    const ImVec2 c = cellCentre(k, origin, zoom);
    draw->AddRect(ImVec2(c.x - half, c.y - half), ImVec2(c.x + half, c.y + half), kGhostColour, 0,
                  0, 2);
  }
  // The walk: a line through the cells, broken where the robot wraps round an edge; a mark
  // at every world step, a larger one every tenth and a ring at the scrubbed step.
  const auto& cells = proofShown_.path.robotCells;
  for (size_t i = 0; i < cells.size(); ++i) {
    const ImVec2 c = cellCentre(cells[i], origin, zoom);
    if (i > 0) {
      const ImVec2 p = cellCentre(cells[i - 1], origin, zoom);
      if (std::abs(p.x - c.x) <= 2 * half + 1 && std::abs(p.y - c.y) <= 2 * half + 1) {
        draw->AddLine(p, c, kPathColour, 2.0f);
      }
    }
    draw->AddCircleFilled(c, i % 10 == 0 ? 3.0f * zoom : 1.5f * zoom, kPathColour);
    if (static_cast<int>(i) == proofShown_.previewStep)
      draw->AddCircle(c, half, kPathColour, 0, 2.0f);
  }
}

void EditorWindow::drawSidePanel() {
  const float height = ImGui::GetContentRegionAvail().y - kStatusHeight;
  ImGui::BeginChild("side", ImVec2(0, height), true);
  drawPieces();
  ImGui::Separator();
  drawLook();
  ImGui::Separator();
  drawWords();
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
    if (ImGui::Combo("##type", &shown, pieceChoices(), 5)) model_.setPieceType(i, shown + 1);
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
    if (ImGui::SmallButton(("+" + std::string(level::pieceTypeName(type))).c_str()))
      model_.addPiece(type);
    logPlace(std::string("+") + level::pieceTypeName(type));
    ImGui::PopID();
  }
}

// One line each for the name, the idea and the hint. A field is taken into the level (one
// undo step) when the designer leaves it or presses Enter; while it is not being typed in it
// shows the level's text, so undo and opening a file show up at once.
void EditorWindow::drawWords() {
  ImGui::TextUnformatted("Words");
  for (const world::LevelMetaField& field : world::levelMetaFields()) {
    WordBuffer& buffer = wordBuffers_[field.key];
    ImGui::SetNextItemWidth(-60);
    ImGui::InputText(field.key, buffer.data(), field.maxChars + 1);
    logPlace(field.key);
    std::string error;
    if (ImGui::IsItemDeactivatedAfterEdit() &&
        !model_.setWord(field, base::trimmed(buffer.data()), error) && !error.empty()) {
      messages_.text = error;
    }
    if (!ImGui::IsItemActive()) {
      const std::string& text = model_.level().meta.*field.text;
      std::snprintf(buffer.data(), buffer.size(), "%s", text.c_str());
    }
  }
}

void EditorWindow::drawLook() {
  // Each value's name, its bar and its number in columns of their own: with two or three
  // choices the bar's grab is wide and would cover a number drawn inside it.
  ImGui::TextUnformatted("Look");
  for (const LookChoice& choice : kLookChoices) {
    int value = model_.value(choice.value);
    ImGui::PushID(choice.label);
    ImGui::TextUnformatted(choice.label);
    ImGui::SameLine(kLookLabelWidth);
    ImGui::SetNextItemWidth(-kLookNumberWidth);
    if (ImGui::SliderInt("##value", &value, choice.first, choice.last, "")) {
      model_.setValue(choice.value, value);
    }
    ImGui::SameLine();
    ImGui::Text("%d", value);
    ImGui::PopID();
  }
}

}  // namespace mdx::edit
