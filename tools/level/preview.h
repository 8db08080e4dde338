// marvolen-level preview: a picture of a level as the game draws it, made headless.
#pragma once

#include <ostream>

namespace mdx::level {

// marvolen-level preview FILE OUT.png [--data DIR] [--running]: draws FILE (a level source
// or level file) with the game's pictures from DIR (by default the data folder the game
// beside this program uses) on the software renderer and saves the frame. The piece phase is shown
// unless --running is given. 0 on success, 1 when the picture cannot be made, 2 on bad arguments.
int previewCommand(int argc, char** argv, std::ostream& err);

}  // namespace mdx::level
