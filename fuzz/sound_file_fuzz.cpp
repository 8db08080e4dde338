#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_file.h"
#include "sound/mp3_info.h"
#include "sound/sdl_mixer_sound_library.h"

namespace {

// One started library for the whole run, on SDL's dummy audio driver (no sound card).
mdx::sound::MixerSoundLibrary& library() {
  static mdx::sound::MixerSoundLibrary* lib = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto* made = new mdx::sound::MixerSoundLibrary();
    made->setBufferSize(100);
    if (!made->init(44100, 32)) std::abort();
    return made;
  }();
  return *lib;
}

}  // namespace

// Any bytes as a sound file, loaded both as an effect (WAV) and as music (MP3). Each load gives
// a handle or 0, and the handle goes through the calls the game makes with it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::sound;
  MixerSoundLibrary& lib = library();
  const std::string wavPath = mdx::fuzz::writeInput(data, size, ".wav");
  const SampleHandle sample = lib.loadSample(wavPath);
  lib.playSample(sample);
  lib.freeSample(sample);

  const std::string mp3Path = mdx::fuzz::writeInput(data, size, ".mp3");
  (void)isMp3CutShort(mp3Path);
  const StreamHandle stream = lib.openStream(mp3Path);
  lib.playStream(0, stream);
  lib.setVolume(0, 100);
  lib.stopStream(stream);
  lib.closeStream(stream);
  return 0;
}
