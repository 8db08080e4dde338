// Per-test working folders with made-up game media, so tests that run side by side never
// share files: the game opens its sounds by relative paths ("media/...", "<pack>/...").
#pragma once

#include <filesystem>
#include <string>

namespace mdx::sound::testing {

// Tone frequencies of the made-up media, far enough apart to tell them apart in the output.
struct MediaTones {
  static constexpr double kTitle = 440.0;
  static constexpr double kEnd = 1000.0;
  static constexpr double kLevel[3] = {523.0, 622.0, 740.0};
  static constexpr double kStick = 1800.0;  // the stick effect; the others use 1200 Hz + 50 n
};

// A fresh folder under the system's temp folder that becomes the working directory for the
// object's life; removed afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Writes media/marvolen.mp3, media/the_end.mp3, <pack>/level01..03.mp3 (tones of whole
// cycles that loop seamlessly) and the seven effect WAVs into the working directory.
bool writeGameMedia(const std::string& packName, double musicSeconds = 1.0);

}  // namespace mdx::sound::testing
