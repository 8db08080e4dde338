#include "edit/editor_keys.h"

#include <algorithm>
#include <cstring>

namespace mdx::edit {

const std::vector<KeyAction>& editorKeys() {
  static const std::vector<KeyAction> keys = {
      {"Left button", "paint the brush into the cell; drag to fill a rectangle"},
      {"Right button", "erase as the tool paints (the brush's layer); clear the selection"},
      {"B, S, F, L", "tools: paint, select, flood fill, straight line"},
      {"Left drag, select tool", "select a rectangle; from inside the selection, move its cells"},
      {"Left click, fill tool", "fill the connected cells of the clicked cell's code"},
      {"Left drag, line tool", "draw a straight line of the brush"},
      {"Ctrl+C, Ctrl+X", "copy, cut the selection (both layers)"},
      {"Ctrl+V", "paste with its top-left cell at the cell under the mouse"},
      {"M", "mirror the selection, or the whole level, left to right"},
      {"Escape", "clear the selection"},
      {"Mouse over the grid", "the status bar names the cell under it"},
      {"Mouse wheel", "scroll the grid when it is zoomed beyond the window"},
      {"I", "take the cell under the mouse as the brush"},
      {"P", "show or hide the robot's path"},
      {"F1", "show these keys"},
      {"F5", "play-test the level in the game; it ends with the level's result"},
      {"Ctrl+N, Ctrl+O", "new level, open a file"},
      {"Ctrl+S, Ctrl+Shift+S", "save, save as"},
      {"Ctrl+E", "export the level into a pack"},
      {"Ctrl+Shift+E", "export a whole pack as one file (.mdxpack) for other players"},
      {"Ctrl+Shift+I", "import a pack file: install it among your packs"},
      {"Ctrl+P", "show or hide the pack manager: the pack's levels, their order and its check"},
      {"Ctrl+Z, Ctrl+Y", "undo and redo"},
      {"Ctrl+Q", "quit (asking first when there are unsaved changes)"},
      {"Tab, Shift+Tab", "in a prompt: move between the text field and the buttons"},
      {"Enter, Escape", "in a prompt: take the focused button, cancel"},
      {"Ctrl+A, Home, End", "in a prompt's text: select all, go to the start, to the end"},
  };
  return keys;
}

std::string editorKeyHelp() {
  std::size_t column = 0;
  for (const KeyAction& key : editorKeys()) column = std::max(column, std::strlen(key.keys));
  std::string text;
  for (const KeyAction& key : editorKeys()) {
    std::string line = std::string("  ") + key.keys;
    line.resize(column + 4, ' ');
    text += line + key.does + "\n";
  }
  return text;
}

}  // namespace mdx::edit
