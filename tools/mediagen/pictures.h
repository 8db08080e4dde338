// The list of every picture the generator writes, with its file name and size.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "paint.h"

namespace mdx::media {

struct PictureSpec {
  std::string file;  // relative to the game folder, e.g. "media/block001.tga"
  int width;
  int height;
  std::function<void(Canvas&)> draw;
};

// The pictures of the "media" folder, in the game's loading order (landscape 1 included).
std::vector<PictureSpec> mediaPictures();

// The two landscapes of a map pack folder; `packIndex` picks their themes so that every pack
// we ship looks different.
std::vector<PictureSpec> packPictures(const std::string& packFolder, int packIndex);

}  // namespace mdx::media
