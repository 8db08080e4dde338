#include <cstdio>
#include <filesystem>

#include "base/files.h"
#include "mediagen/audio_file.h"
#include "mediagen/generator.h"
#include "mediagen/sound_effects.h"

namespace mdx::media {

bool generateSounds(const GeneratorOptions& options) {
  bool ok = true;
  for (const SoundEffect& effect : makeSoundEffects()) {
    const std::filesystem::path path = std::filesystem::path(options.gameDir) / effect.file;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::string error;
    if (!base::writeFileSafely(path.string(), encodeWav(effect.samples, 1), error)) {
      std::fprintf(stderr, "mediagen: %s: %s\n", effect.file.c_str(), error.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace mdx::media
