#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

#include "base/files.h"
#include "mediagen/generator.h"
#include "mediagen/mp3_encoder.h"
#include "mediagen/song.h"
#include "mediagen/synth.h"
#include "world/pack_catalog.h"

namespace mdx::media {

namespace {

using Track = MusicTrack;

}  // namespace

std::vector<MusicTrack> musicTracks(const std::vector<std::string>& packs) {
  // The game folder is the working directory of the paths: they are relative to --out.
  const world::PackLayout shared = world::shippedPackLayout("", "");
  std::vector<Track> tracks = {{"title.song", shared.titleSongPath()},
                               {"ending.song", shared.songPath(world::kEndingLevel)}};
  // Every pack gets its level tunes: the first pack level1.song to level3.song, every other
  // pack its own, named after its folder (mappack2-level1.song ...).
  for (size_t p = 0; p < packs.size(); ++p) {
    const std::string prefix = p == 0 ? "" : packs[p] + "-";
    const world::PackLayout pack = world::shippedPackLayout("", packs[p]);
    for (int i = 1; i <= world::kPackSongs; ++i) {
      tracks.push_back({prefix + "level" + std::to_string(i) + ".song", pack.songPath(i)});
    }
  }
  return tracks;
}

namespace {

bool makeTrack(const GeneratorOptions& options, const Track& track, std::string& error) {
  const std::string songPath = options.songDir + "/" + track.song;
  std::string text;
  if (!base::readWholeFile(songPath, text, error)) return false;
  Song song;
  if (!parseSong(text, song, error)) {
    error = songPath + ": " + error;
    return false;
  }
  std::vector<uint8_t> mp3;
  if (!encodeMp3(renderLoop(song), mp3, error)) {
    error = track.output + ": " + error;
    return false;
  }
  const std::filesystem::path path = std::filesystem::path(options.gameDir) / track.output;
  return base::writeFileSafely(path.string(), mp3, error);
}

}  // namespace

bool generateMusic(const GeneratorOptions& options) {
  const std::vector<Track> tracks = musicTracks(options.packs);
  std::atomic<size_t> next{0};
  std::atomic<bool> ok{true};
  std::mutex reportMutex;
  auto worker = [&] {
    for (size_t i = next++; i < tracks.size(); i = next++) {
      std::string error;
      if (!makeTrack(options, tracks[i], error)) {
        std::lock_guard<std::mutex> lock(reportMutex);
        std::fprintf(stderr, "mediagen: %s\n", error.c_str());
        ok = false;
      }
    }
  };
  // Each track is rendered on its own, so the thread count never changes the bytes.
  const unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (std::thread& t : pool) t.join();
  return ok;
}

}  // namespace mdx::media
