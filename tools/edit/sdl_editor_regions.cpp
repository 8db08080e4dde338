// The editor window's region tools: the mouse tools (paint, select, fill, line) as a drag ends,
// moving the selection, the clipboard keys, the mirror and the Tools menu. The work on the
// level is the model's (one undo step each); here is what the mouse and keys ask of it.
#include <SDL.h>
#include <imgui.h>

#include <string>

#include "edit/sdl_editor.h"

namespace mdx::edit {

namespace {

// The tools in menu order, with their keys.
struct ToolChoice {
  const char* name;
  const char* key;
  SDL_Keycode code;
};
constexpr ToolChoice kTools[] = {
    {"Paint", "B", SDLK_b}, {"Select", "S", SDLK_s}, {"Fill", "F", SDLK_f}, {"Line", "L", SDLK_l}};

std::string describeRect(const CellRect& rect) {
  return std::to_string(rect.rows()) + " x " + std::to_string(rect.columns()) + " cells at row " +
         std::to_string(rect.top) + ", column " + std::to_string(rect.left);
}

}  // namespace

const char* EditorWindow::toolName(Tool tool) {
  return kTools[static_cast<int>(tool)].name;
}

void EditorWindow::endDrag(int row, int column) {
  const Brush brush = drag_.erases ? Brush{palette_.brush.layer, 0} : palette_.brush;
  switch (drag_.tool) {
    case Tool::Paint:
      model_.fillRect(drag_.row, drag_.column, row, column, brush);
      break;
    case Tool::Fill:
      model_.floodFill(drag_.row, drag_.column, brush);
      break;
    case Tool::Line:
      model_.drawLine(drag_.row, drag_.column, row, column, brush);
      break;
    case Tool::Select:
      if (drag_.erases) {
        region_.selected = false;
      } else if (drag_.moves) {
        // The selection follows the drag even where its cells are all empty and the level
        // stays as it was.
        const CellRect to = movedSelection(row, column);
        model_.move(region_.selection, to.top, to.left);
        region_.selection = to;
      } else {
        region_.selected = rectBetween(drag_.row, drag_.column, row, column, region_.selection);
      }
      break;
  }
}

CellRect EditorWindow::movedSelection(int row, int column) const {
  return shiftedInGrid(region_.selection, row - drag_.row, column - drag_.column);
}

void EditorWindow::copySelection(bool cut) {
  if (!region_.selected) {
    say("select a rectangle first (S, then drag over the cells)");
    return;
  }
  if (cut) {
    model_.cut(region_.selection);
  } else {
    model_.copy(region_.selection);
  }
  say((cut ? "cut " : "copied ") + describeRect(region_.selection), true);
}

// The clipboard's top-left cell goes to (row, column), and the pasted cells become the
// selection, ready to be moved or mirrored.
void EditorWindow::pasteAt(int row, int column) {
  if (model_.clipboard().empty()) {
    say("nothing to paste: copy (Ctrl+C) or cut (Ctrl+X) a selection first");
    return;
  }
  if (!inGrid(row, column)) {
    say("point at the cell to paste at");
    return;
  }
  model_.paste(row, column);
  region_.selection = pastedRect(model_.clipboard(), row, column);
  region_.selected = true;
  say("pasted " + describeRect(region_.selection), true);
}

void EditorWindow::mirrorSelection() {
  model_.mirror(region_.selected ? region_.selection : wholeGrid());
}

// B, S, F and L choose the tool, M mirrors, Escape lets go of the selection; Ctrl+C, Ctrl+X and
// Ctrl+V copy, cut and paste (at the cell under the mouse).
bool EditorWindow::handleRegionKey(int key, bool ctrl) {
  if (ctrl) {
    if (key == SDLK_c || key == SDLK_x) copySelection(key == SDLK_x);
    if (key == SDLK_v) pasteAt(canvasState_.hoverRow, canvasState_.hoverColumn);
    return key == SDLK_c || key == SDLK_x || key == SDLK_v;
  }
  for (const ToolChoice& tool : kTools) {
    if (key != tool.code) continue;
    region_.tool = static_cast<Tool>(&tool - kTools);
    return true;
  }
  if (key == SDLK_m) mirrorSelection();
  if (key == SDLK_ESCAPE) region_.selected = false;
  return key == SDLK_m || key == SDLK_ESCAPE;
}

void EditorWindow::drawToolsMenu() {
  const std::string selection = region_.selected ? describeRect(region_.selection) : "none";
  log("tool", toolName(region_.tool));
  log("selection", selection);
  if (!ImGui::BeginMenu("Tools")) return;
  for (const ToolChoice& tool : kTools) {
    const Tool which = static_cast<Tool>(&tool - kTools);
    if (ImGui::MenuItem(tool.name, tool.key, region_.tool == which)) region_.tool = which;
  }
  ImGui::Separator();
  if (ImGui::MenuItem("Copy", "Ctrl+C", false, region_.selected)) copySelection(false);
  if (ImGui::MenuItem("Cut", "Ctrl+X", false, region_.selected)) copySelection(true);
  // From the menu the mouse is on the menu: the paste goes where the selection is.
  if (ImGui::MenuItem("Paste", "Ctrl+V", false, region_.selected && !model_.clipboard().empty())) {
    pasteAt(region_.selection.top, region_.selection.left);
  }
  if (ImGui::MenuItem(region_.selected ? "Mirror the selection" : "Mirror the level", "M")) {
    mirrorSelection();
  }
  ImGui::EndMenu();
}

}  // namespace mdx::edit
