// The game's application icon for desktop menus: a small robot on a block, drawn with Cairo as
// PNG pictures of every size the desktop asks for and as one scalable SVG.
#pragma once

#include <string>
#include <vector>

namespace mdx::media {

// Writes hicolorDir/NxN/apps/NAME.png for every size N in `sizes` and
// hicolorDir/scalable/apps/NAME.svg (the layout of an icon theme folder). Returns false, after
// printing why, when a file could not be written.
bool generateAppIcons(const std::string& hicolorDir, const std::string& name,
                      const std::vector<int>& sizes);

}  // namespace mdx::media
