// Per-test folders with made-up game media, so tests that run side by side never share files.
#pragma once

#include <filesystem>
#include <string>

#include "world/pack_catalog.h"

namespace mdx::sound::testing {

// Tone frequencies of the made-up media, far enough apart to tell them apart in the output.
struct MediaTones {
  static constexpr double kTitle = 440.0;
  static constexpr double kEnd = 1000.0;
  static constexpr double kLevel[3] = {523.0, 622.0, 740.0};
  static constexpr double kStick = 1800.0;  // the stick effect; the others use 1200 Hz + 50 n
};

// A fresh folder under the system's temp folder for the object's life; removed afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // The named pack of the folder, the folder being the game's data folder.
  world::PackLayout pack(const std::string& name = "pack") const {
    return world::shippedPackLayout(path_.string(), name);
  }

 private:
  std::filesystem::path path_;
};

// Writes the title and ending songs, the pack's level songs (tones of whole cycles that loop
// seamlessly) and the seven effect WAVs where the game reads them for pack.
bool writeGameMedia(const world::PackLayout& pack, double musicSeconds = 1.0);

}  // namespace mdx::sound::testing
