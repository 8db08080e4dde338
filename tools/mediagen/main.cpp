// mediagen: draws every picture, synthesises every sound effect and renders every music track
// of the game into the game folder. The build runs it; the same
// sources give the same bytes.
//
//   mediagen --out <game folder> [--packs mappack1,mappack2] [--songs <folder>]
//            [--only pictures|sounds|music] [--contact-sheet <file.png>] [--list-outputs]
//
// --list-outputs prints the files such a run writes, one per line and relative to the game
// folder, and writes nothing: the build's list of generated files.
//   mediagen --icons <icon theme folder> --icon-name <application id> --icon-sizes 16,32,...
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "mediagen/app_icon.h"
#include "mediagen/generator.h"
#include "mediagen/paint.h"
#include "world/pack_catalog.h"

#ifndef MDX_SONG_DIR
#define MDX_SONG_DIR "songs"
#endif

namespace {

using mdx::media::GeneratorOptions;

int usage(const char* message) {
  std::fprintf(stderr,
               "mediagen: %s\nusage: mediagen --out <game folder> [--packs a,b] [--songs dir] "
               "[--only pictures|sounds|music] [--contact-sheet file.png] [--list-outputs]\n"
               "       mediagen --icons <icon theme folder> --icon-name <application id> "
               "--icon-sizes 16,32,...\n",
               message);
  return 2;
}

std::vector<std::string> splitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

}  // namespace

int main(int argc, char** argv) {
  GeneratorOptions options;
  options.packs = {mdx::world::kDefaultPackName};
  options.songDir = MDX_SONG_DIR;
  std::string iconDir, iconName;
  std::vector<int> iconSizes;
  bool listOutputs = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--list-outputs") {
      listOutputs = true;
      continue;
    }
    if (i + 1 >= argc) return usage(("missing value after " + arg).c_str());
    const std::string value = argv[++i];
    if (arg == "--out") {
      options.gameDir = value;
    } else if (arg == "--packs") {
      options.packs = splitList(value);
    } else if (arg == "--songs") {
      options.songDir = value;
    } else if (arg == "--icons") {
      iconDir = value;
    } else if (arg == "--icon-name") {
      iconName = value;
    } else if (arg == "--icon-sizes") {
      for (const std::string& size : splitList(value)) {
        const int pixels = std::atoi(size.c_str());
        if (pixels < 1 || pixels > 1024) return usage(("bad icon size " + size).c_str());
        iconSizes.push_back(pixels);
      }
    } else if (arg == "--contact-sheet") {
      options.contactSheet = value;
    } else if (arg == "--only") {
      options.pictures = value == "pictures";
      options.sounds = value == "sounds";
      options.music = value == "music";
      if (!options.pictures && !options.sounds && !options.music) {
        return usage(("unknown part " + value).c_str());
      }
    } else {
      return usage(("unknown option " + arg).c_str());
    }
  }
  if (!iconDir.empty()) {
    if (iconName.empty() || iconSizes.empty()) {
      return usage("--icons needs --icon-name and --icon-sizes");
    }
    const bool ok = mdx::media::generateAppIcons(iconDir, iconName, iconSizes);
    mdx::media::releaseFonts();
    return ok ? 0 : 1;
  }
  if (listOutputs) {
    for (const std::string& file : mdx::media::outputFiles(options))
      std::printf("%s\n", file.c_str());
    return 0;
  }
  if (options.gameDir.empty()) return usage("--out is required");
  bool ok = true;
  if (options.pictures) ok = mdx::media::generatePictures(options) && ok;
  if (options.sounds) ok = mdx::media::generateSounds(options) && ok;
  if (options.music) ok = mdx::media::generateMusic(options) && ok;
  mdx::media::releaseFonts();
  return ok ? 0 : 1;
}
