// A sound library that plays nothing and remembers every call with its arguments, for
// headless tests of the music commands and tools. It hands out handles like the real one
// (1, 2, 3 ... per kind, 0 for files it is told are missing) and can be told to fail init.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "sound/sound_library.h"

namespace mdx::sound {

enum class SoundCallKind {
  SetBufferSize,
  Init,
  OpenStream,
  LoadSample,
  PlayStream,
  SetVolume,
  PlaySample,
  StopStream,
  CloseStream,
  FreeSample,
  Close,
};

// One recorded call. Only the fields that the call has are set; `handle` is the handle
// passed in, or for OpenStream and LoadSample the handle given back.
struct SoundCall {
  SoundCallKind kind;
  int channel = 0;
  int value = 0;  // buffer milliseconds, mix rate, or volume
  int channels = 0;
  int32_t handle = 0;
  std::string fileName;
};

// "playStream(-1, 1)", "openStream(media/marvolen.mp3) -> 1" and so on, for readable asserts.
std::string describe(const SoundCall& call);

class RecordingSoundLibrary : public SoundLibrary {
 public:
  void setBufferSize(int milliseconds) override;
  bool init(int mixRate, int channels) override;
  StreamHandle openStream(const std::string& fileName) override;
  SampleHandle loadSample(const std::string& fileName) override;
  void playStream(int channel, StreamHandle stream) override;
  void setVolume(int channel, int volume) override;
  void playSample(SampleHandle sample) override;
  void stopStream(StreamHandle stream) override;
  void closeStream(StreamHandle stream) override;
  void freeSample(SampleHandle sample) override;
  void close() override;

  // Every call described, in order.
  std::vector<std::string> log() const;
  // The calls of one kind, in order.
  std::vector<SoundCall> callsOf(SoundCallKind kind) const;

  bool failInit = false;               // init answers false and the library stays stopped
  std::set<std::string> missingFiles;  // these names give handle 0
  bool started = false;
  std::vector<SoundCall> calls;

 private:
  int32_t nextStream_ = 1;
  int32_t nextSample_ = 1;
};

}  // namespace mdx::sound
