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
  previous_ = std::filesystem::current_path();
  std::filesystem::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

bool writeGameMedia(const std::string& packName, double musicSeconds) {
  std::filesystem::create_directories("media");
  std::filesystem::create_directories(packName);
  bool ok = writeMp3Tone("media/marvolen.mp3", MediaTones::kTitle, musicSeconds);
  ok = ok && writeMp3Tone("media/the_end.mp3", MediaTones::kEnd, musicSeconds);
  for (int i = 0; i < 3; ++i) {
    const std::string name = packName + "/level0" + std::to_string(i + 1) + ".mp3";
    ok = ok && writeMp3Tone(name, MediaTones::kLevel[i], musicSeconds);
  }
  for (int i = 0; i < world::kSampleCount; ++i) {
    const auto sample = static_cast<world::Sample>(i);
    const double tone = sample == world::Sample::Stick ? MediaTones::kStick : 1200.0 + 50.0 * i;
    ok = ok && writeWav(world::sampleFile(sample), sineTone(tone, 0.6));
  }
  return ok;
}

}  // namespace mdx::sound::testing
