// Every picture the generator writes, with its file name, size and painter. The list of files
// is the game's own picture table (src/render/asset_table.cpp): a picture the game loads is
// added there, and gets its size and painter in pictures.cpp (paintingFor).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "mediagen/paint.h"

namespace mdx::media {

// One picture the generator writes: its file, its size and the drawing that fills it.
struct PictureToDraw {
  std::string file;  // relative to the game folder, e.g. "media/block001.tga"
  int width;
  int height;
  std::function<void(Canvas&)> draw;
};

// The pictures of the "media" folder, in the game's loading order (landscape 1 included).
std::vector<PictureToDraw> mediaPictures();

// The pictures the game reads from a map pack folder (its two landscapes); `packIndex` picks
// their themes so that every pack we ship looks different.
std::vector<PictureToDraw> packPictures(const std::string& packFolder, int packIndex);

}  // namespace mdx::media
