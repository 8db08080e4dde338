// The sound library the game talks to: looping music streams, one-shot samples, a music
// volume of 0 to 255. Every call accepts an empty handle (0) and a library that was never
// started, and then does nothing.
#pragma once

#include <cstdint>
#include <string>

namespace mdx::sound {

using StreamHandle = int32_t;  // 0 = none (missing or undecodable file)
using SampleHandle = int32_t;  // 0 = none

constexpr int kChannelFree = -1;  // any free channel
constexpr int kChannelAll = -3;   // every channel

class SoundLibrary {
 public:
  virtual ~SoundLibrary() = default;
  // Sets the stream buffer length wished for; takes effect at init.
  virtual void setBufferSize(int milliseconds) = 0;
  // Starts the library; false when the audio device cannot be opened.
  virtual bool init(int mixRate, int channels) = 0;
  // Opens a stream that loops without a gap.
  // 0 when the file is missing or cannot be decoded.
  virtual StreamHandle openStream(const std::string& fileName) = 0;
  // Loads a one-shot effect; 0 when the file is missing or cannot be decoded.
  virtual SampleHandle loadSample(const std::string& fileName) = 0;
  // Starts a stream from its beginning on `channel` (kChannelFree or a channel number).
  virtual void playStream(int channel, StreamHandle stream) = 0;
  virtual void setVolume(int channel, int volume) = 0;  // 0 to 255
  virtual void playSample(SampleHandle sample) = 0;     // on any free channel
  // Stops a playing stream; closing it afterwards frees it.
  virtual void stopStream(StreamHandle stream) = 0;
  virtual void closeStream(StreamHandle stream) = 0;
  virtual void freeSample(SampleHandle sample) = 0;
  // Ends the library and everything still open in it.
  virtual void close() = 0;
};

}  // namespace mdx::sound
