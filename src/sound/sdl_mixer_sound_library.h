// The sound library on SDL2_mixer: MP3 music streamed on the mixer's music channel and looped
// without a gap, WAV effects on any free mixing channel, and a music volume of 0 to 255.
#pragma once

#include <string>
#include <vector>

#include "sound/sound_library.h"

struct _Mix_Music;
struct Mix_Chunk;

namespace mdx::sound {

class MixerSoundLibrary : public SoundLibrary {
 public:
  MixerSoundLibrary() = default;
  ~MixerSoundLibrary() override;
  MixerSoundLibrary(const MixerSoundLibrary&) = delete;
  MixerSoundLibrary& operator=(const MixerSoundLibrary&) = delete;

  // Stores the wished stream buffer length; init turns it into the mixer's chunk size.
  void setBufferSize(int milliseconds) override;
  // Opens the audio device (16-bit stereo at mixRate) with `channels` effect channels.
  bool init(int mixRate, int channels) override;
  // Opens an MP3 (or any format the mixer streams) for looped playback; 0 when the file is
  // missing, unreadable, cut short or not audio. The loop is seamless when the MP3 carries
  // the encoder's info frame: the decoder then drops the encoder delay and padding.
  StreamHandle openStream(const std::string& fileName) override;
  // Loads a WAV effect into memory; 0 when missing or not a WAV the mixer can read.
  SampleHandle loadSample(const std::string& fileName) override;
  // Starts the stream from its beginning, looping for ever. Only one stream sounds at a time:
  // starting one ends the other. The channel number does not matter here.
  void playStream(int channel, StreamHandle stream) override;
  // Channel 0 (the music) and kChannelAll set the music volume; others are ignored.
  void setVolume(int channel, int volume) override;
  void playSample(SampleHandle sample) override;
  // Stops the stream if it is the one playing; the next play starts it from the beginning.
  void stopStream(StreamHandle stream) override;
  void closeStream(StreamHandle stream) override;
  void freeSample(SampleHandle sample) override;
  // Frees every stream and sample still open and closes the audio device.
  void close() override;
  // For a program about to end: silences and frees every stream and sample like close, but
  // leaves the device to close with the process. Closing it would first play two buffer
  // lengths of silence out (SDL's drain), which only keeps the ending program alive. The caller
  // then quits SDL's other subsystems only, since quitting audio would drain the device too.
  void closeLeavingDevice();

  bool started() const { return started_; }
  // The chunk size init asked for, in sample frames (a power of two).
  int chunkFrames() const { return chunkFrames_; }
  // Maps 0..255 onto the mixer's 0..128 volume scale, clamping out-of-range values.
  static int mixerVolume(int volume);

 private:
  _Mix_Music* streamAt(StreamHandle handle) const;
  Mix_Chunk* sampleAt(SampleHandle handle) const;

  bool started_ = false;
  int bufferMilliseconds_ = 100;
  int chunkFrames_ = 0;
  // Handle n is slot n - 1; closed slots stay empty so a stale handle never hits a new file.
  std::vector<_Mix_Music*> streams_;
  std::vector<Mix_Chunk*> samples_;
  StreamHandle playing_ = 0;
};

}  // namespace mdx::sound
