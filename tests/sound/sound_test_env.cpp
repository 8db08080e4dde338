#include "sound_test_env.h"

#include <unistd.h>

#include "tone_files.h"
#include "world/services.h"

namespace mdx::sound::testing {

ScratchFolder::ScratchFolder(const std::string& name) {
  path_ = std::filesystem::temp_directory_path() /
          ("mdx_sound_" + name + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

bool writeGameMedia(const world::PackLayout& pack, double musicSeconds) {
  std::filesystem::create_directories(pack.mediaFile(""));
  std::filesystem::create_directories(pack.packFolder);
  bool ok = writeMp3Tone(pack.titleSongPath(), MediaTones::kTitle, musicSeconds);
  ok = ok && writeMp3Tone(pack.songPath(world::kEndingLevel), MediaTones::kEnd, musicSeconds);
  for (int i = 0; i < world::kPackSongs; ++i) {
    ok = ok && writeMp3Tone(pack.songPath(i + 1), MediaTones::kLevel[i], musicSeconds);
  }
  for (int i = 0; i < world::kSampleCount; ++i) {
    const auto sample = static_cast<world::Sample>(i);
    const double tone = sample == world::Sample::Stick ? MediaTones::kStick : 1200.0 + 50.0 * i;
    ok = ok && writeWav(pack.dataFile(world::sampleFile(sample)), sineTone(tone, 0.6));
  }
  return ok;
}

}  // namespace mdx::sound::testing
