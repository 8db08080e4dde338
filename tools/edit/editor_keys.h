// The editor's keys and mouse actions as the player reads them: --help prints this table and the
// manual page lists the same entries.
#pragma once

#include <string>
#include <vector>

namespace mdx::edit {

struct KeyAction {
  const char* keys;  // "Ctrl+Z, Ctrl+Y"
  const char* does;  // "undo and redo"
};

// Every key and mouse action of the editor window, in the order the help lists them.
const std::vector<KeyAction>& editorKeys();

// The table as --help prints it: one indented line per entry.
std::string editorKeyHelp();

}  // namespace mdx::edit
