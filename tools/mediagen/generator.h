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

// One music track: the note file it is rendered from and the file it is written to.
struct MusicTrack {
  std::string song;    // note file in the song folder
  std::string output;  // relative to the game folder
};

// The tracks for these map packs: the title and ending tunes, and three level tunes per pack.
std::vector<MusicTrack> musicTracks(const std::vector<std::string>& packs);

// The manifest: every file a run with these options writes, relative to the game folder, in the
// order they are written. `mediagen --list-outputs` prints it, and the build takes its list of
// generated files from there, so a new output is registered in exactly one place:
//   - a picture the game loads: a row of the game's picture table (src/render/asset_table.cpp)
//     and its size and painter in pictures.cpp (paintingFor);
//   - a sound effect: a world::Sample with its file (src/world/services.h) and its synthesis in
//     sound_effects.cpp;
//   - a music track: a line of musicTracks (generate_music.cpp) and its .song file.
std::vector<std::string> outputFiles(const GeneratorOptions& options);

// Each returns true when every file was written; on failure it prints what went wrong.
bool generatePictures(const GeneratorOptions& options);
bool generateSounds(const GeneratorOptions& options);
bool generateMusic(const GeneratorOptions& options);

}  // namespace mdx::media
