// The music and the life of the sound system: five streams opened once, seven samples,
// the music switch and the volume. Every call here is made only when sound is enabled;
// callers check soundEnabled first.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "sound/sound_library.h"
#include "world/services.h"

namespace mdx::sound {

class Music : public world::SampleSink {
 public:
  Music(SoundLibrary& library, world::MessageBoxes* messages)
      : library_(library), messages_(messages) {}

  // Opens the library, the five streams and seven samples, starts the title music.
  // When the device cannot be opened: "Error initializing sound!" and onInitFailure
  // (the game destroys its window), then the rest as usual.
  void startSound(const std::string& packName);
  // Plays the music of levelMusic (1 to 3 level tracks, 99 the end music, else unchanged).
  void switchMusic(int32_t levelMusic);
  // Stops and closes the current stream, frees the samples, closes the library.
  void stopSound();

  // F2: music off when on, on when off.
  void toggleMusic();
  // Q: back to the title music, whatever musicOn is.
  void playTitleMusic();

  void playSample(world::Sample sample) override;

  uint8_t musicOn = 1;
  int32_t musicVolume = 100;
  int32_t soundBufferLength = 100;
  StreamHandle titleStream = 0;
  StreamHandle endStream = 0;
  std::array<StreamHandle, 3> levelStreams{};
  StreamHandle currentStream = 0;
  std::array<SampleHandle, world::kSampleCount> samples{};

  // Called after the init failure message (the game destroys its window there).
  std::function<void()> onInitFailure;

 private:
  // Starts currentStream on the music channel at musicVolume.
  void restartCurrent();

  SoundLibrary& library_;
  world::MessageBoxes* messages_;
};

}  // namespace mdx::sound
