// The media generator's jobs: pictures, sound effects and music, each written into the game
// folder. main.cpp parses the command line and runs the jobs asked for.
#pragma once

#include <string>
#include <vector>

namespace mdx::media {

struct GeneratorOptions {
  std::string gameDir;             // the game folder: media/ and the pack folders go here
  std::vector<std::string> packs;  // map pack folders to fill, e.g. "mappack1"
  std::string songDir;             // folder of the .song note files
  std::string contactSheet;        // PNG path for the review sheet; empty: none
  bool pictures = true, sounds = true, music = true;
};

// Each returns true when every file was written; on failure it prints what went wrong.
bool generatePictures(const GeneratorOptions& options);
bool generateSounds(const GeneratorOptions& options);
bool generateMusic(const GeneratorOptions& options);

}  // namespace mdx::media
