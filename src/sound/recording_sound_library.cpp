#include "sound/recording_sound_library.h"

namespace mdx::sound {

namespace {

std::string withHandle(const std::string& head, int32_t handle) {
  return head + " -> " + std::to_string(handle);
}

SoundCall makeCall(SoundCallKind kind, int channel = 0, int value = 0, int channels = 0,
                   int32_t handle = 0, const std::string& fileName = {}) {
  return SoundCall{kind, channel, value, channels, handle, fileName};
}

}  // namespace

std::string describe(const SoundCall& call) {
  const std::string channel = std::to_string(call.channel);
  const std::string handle = std::to_string(call.handle);
  switch (call.kind) {
    case SoundCallKind::SetBufferSize:
      return "setBufferSize(" + std::to_string(call.value) + ")";
    case SoundCallKind::Init:
      return "init(" + std::to_string(call.value) + ", " + std::to_string(call.channels) + ")";
    case SoundCallKind::OpenStream:
      return withHandle("openStream(" + call.fileName + ")", call.handle);
    case SoundCallKind::LoadSample:
      return withHandle("loadSample(" + call.fileName + ")", call.handle);
    case SoundCallKind::PlayStream:
      return "playStream(" + channel + ", " + handle + ")";
    case SoundCallKind::SetVolume:
      return "setVolume(" + channel + ", " + std::to_string(call.value) + ")";
    case SoundCallKind::PlaySample:
      return "playSample(" + handle + ")";
    case SoundCallKind::StopStream:
      return "stopStream(" + handle + ")";
    case SoundCallKind::CloseStream:
      return "closeStream(" + handle + ")";
    case SoundCallKind::FreeSample:
      return "freeSample(" + handle + ")";
    case SoundCallKind::Close:
      return "close()";
  }
  return "?";
}

void RecordingSoundLibrary::setBufferSize(int milliseconds) {
  calls.push_back(makeCall(SoundCallKind::SetBufferSize, 0, milliseconds));
}

bool RecordingSoundLibrary::init(int mixRate, int channels) {
  calls.push_back(makeCall(SoundCallKind::Init, 0, mixRate, channels));
  started = !failInit;
  return started;
}

StreamHandle RecordingSoundLibrary::openStream(const std::string& fileName) {
  const bool opens = started && missingFiles.count(fileName) == 0;
  const StreamHandle handle = opens ? nextStream_++ : 0;
  calls.push_back(makeCall(SoundCallKind::OpenStream, 0, 0, 0, handle, fileName));
  return handle;
}

SampleHandle RecordingSoundLibrary::loadSample(const std::string& fileName) {
  const bool loads = started && missingFiles.count(fileName) == 0;
  const SampleHandle handle = loads ? nextSample_++ : 0;
  calls.push_back(makeCall(SoundCallKind::LoadSample, 0, 0, 0, handle, fileName));
  return handle;
}

void RecordingSoundLibrary::playStream(int channel, StreamHandle stream) {
  calls.push_back(makeCall(SoundCallKind::PlayStream, channel, 0, 0, stream));
}

void RecordingSoundLibrary::setVolume(int channel, int volume) {
  calls.push_back(makeCall(SoundCallKind::SetVolume, channel, volume));
}

void RecordingSoundLibrary::playSample(SampleHandle sample) {
  calls.push_back(makeCall(SoundCallKind::PlaySample, 0, 0, 0, sample));
}

void RecordingSoundLibrary::stopStream(StreamHandle stream) {
  calls.push_back(makeCall(SoundCallKind::StopStream, 0, 0, 0, stream));
}

void RecordingSoundLibrary::closeStream(StreamHandle stream) {
  calls.push_back(makeCall(SoundCallKind::CloseStream, 0, 0, 0, stream));
}

void RecordingSoundLibrary::freeSample(SampleHandle sample) {
  calls.push_back(makeCall(SoundCallKind::FreeSample, 0, 0, 0, sample));
}

void RecordingSoundLibrary::close() {
  calls.push_back(makeCall(SoundCallKind::Close));
  started = false;
}

std::vector<std::string> RecordingSoundLibrary::log() const {
  std::vector<std::string> lines;
  for (const SoundCall& call : calls) lines.push_back(describe(call));
  return lines;
}

std::vector<SoundCall> RecordingSoundLibrary::callsOf(SoundCallKind kind) const {
  std::vector<SoundCall> found;
  for (const SoundCall& call : calls) {
    if (call.kind == kind) found.push_back(call);
  }
  return found;
}

}  // namespace mdx::sound
