// The music and the life of the sound system: five streams opened once, seven samples,
// the music switch and the volume. Every call here is made only when sound is enabled;
// callers check soundEnabled first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/sound_library.h"
#include "world/pack_catalog.h"
#include "world/services.h"

namespace mdx::sound {

// The one message shown when no sound device can be opened.
constexpr const char* kNoSoundMessage =
    "No sound device could be opened: the game plays on without sound.";

class Music : public world::SampleSink {
 public:
  Music(SoundLibrary& library, world::MessageBoxes* messages)
      : library_(library), messages_(messages) {}

  // Opens the library, the five streams and seven samples (the pack's songs and the shared
  // media of pack), starts the title music. When no sound device can be opened it shows one
  // message (kNoSoundMessage), opens nothing and returns false: the caller plays on without
  // sound.
  bool startSound(const world::PackLayout& pack);
  // Makes the music of levelMusic current (the pack's songs, the ending's song; any other
  // number keeps the stream, which starts again). It plays only while musicOn is set; with
  // the music off it is the stream F2 brings back.
  void switchMusic(int32_t levelMusic);
  // Stops and closes the current stream, frees the samples, closes the library.
  void stopSound();

  // F2: music off when on; when off, the current stream (where the player is) starts again.
  void toggleMusic();
  // Q: the title music becomes current; it plays only while musicOn is set.
  void playTitleMusic();

  void playSample(world::Sample sample) override;

  // The songs startSound could not open (missing, cut short or not music), which stay silent;
  // and the line that tells the player so: the song's file name, or how many there are.
  std::vector<std::string> unplayableSongs;
  std::string unplayableSongsLine() const;

  uint8_t musicOn = 1;
  int32_t musicVolume = 100;
  int32_t soundBufferLength = 100;
  StreamHandle titleStream = 0;
  StreamHandle endStream = 0;
  std::array<StreamHandle, world::kPackSongs> levelStreams{};
  StreamHandle currentStream = 0;
  std::array<SampleHandle, world::kSampleCount> samples{};

 private:
  // Opens one song's stream, noting the song when it cannot be opened.
  StreamHandle openSong(const std::string& fileName);
  // Starts currentStream on the music channel at musicVolume.
  void restartCurrent();
  // Stops the current stream and makes stream current, playing it while musicOn is set.
  void changeStream(StreamHandle stream);

  SoundLibrary& library_;
  world::MessageBoxes* messages_;
};

}  // namespace mdx::sound
