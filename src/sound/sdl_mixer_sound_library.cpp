#include "sound/sdl_mixer_sound_library.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "sound/mp3_info.h"

namespace mdx::sound {

namespace {

// The mixer's chunk size must be a power of two; take the one closest to the wished length.
int chunkFramesFor(int milliseconds, int mixRate) {
  const long wanted = std::max(1L, static_cast<long>(milliseconds) * mixRate / 1000);
  int frames = 256;
  while (frames < 16384 && std::abs(frames * 2 - wanted) <= std::abs(frames - wanted)) frames *= 2;
  return frames;
}

// Sound files are read only when they are plain files of a sensible size: a pipe or a device
// could block the game for ever, and an effect is decoded whole into memory.
constexpr long long kMaxEffectBytes = 64LL << 20;  // over six minutes of CD-quality stereo
constexpr long long kMaxMusicBytes = 512LL << 20;

bool isPlainFileWithin(const std::string& path, long long maxBytes) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
         info.st_size <= maxBytes;
}

uint32_t littleEndian32(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// True when a RIFF WAVE file declares a chunk, up to and including its data chunk, that runs
// past the end of the file. The mixer would allocate the declared size before noticing, so a
// few hundred corrupt bytes could ask for gigabytes. Other formats are left to the mixer.
bool wavDeclaresMoreThanItHolds(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  const long long fileSize = static_cast<long long>(file.tellg());
  char header[12];
  file.seekg(0);
  if (!file.read(header, 12) || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0)
    return false;
  long long at = 12;
  char chunk[8];
  while (at + 8 <= fileSize && file.seekg(at) && file.read(chunk, 8)) {
    const long long length = littleEndian32(chunk + 4);
    if (at + 8 + length > fileSize) return true;
    if (std::memcmp(chunk, "data", 4) == 0) return false;
    at += 8 + length + (length & 1);  // chunks are padded to an even length
  }
  return false;
}

// Puts a pointer in a handle table and returns its handle (slot + 1).
template <typename T>
int32_t storeHandle(std::vector<T*>& table, T* item) {
  table.push_back(item);
  return static_cast<int32_t>(table.size());
}

template <typename T>
T* lookUp(const std::vector<T*>& table, int32_t handle) {
  if (handle <= 0 || static_cast<size_t>(handle) > table.size()) return nullptr;
  return table[static_cast<size_t>(handle) - 1];
}

}  // namespace

MixerSoundLibrary::~MixerSoundLibrary() {
  close();
}

void MixerSoundLibrary::setBufferSize(int milliseconds) {
  if (milliseconds > 0) bufferMilliseconds_ = milliseconds;
}

bool MixerSoundLibrary::init(int mixRate, int channels) {
  if (started_) return true;
  if (mixRate <= 0 || channels <= 0) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // An effect file cut short in transfer is refused rather than played in part, like a
  // corrupt one. The RIFF size is not checked: some writers leave it wrong in sound files.
  SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
  // MP3 support is loaded on demand; without it the streams fail to open and the game
  // simply has no music, so a missing decoder is not a start-up failure.
  Mix_Init(MIX_INIT_MP3);
  chunkFrames_ = chunkFramesFor(bufferMilliseconds_, mixRate);
  if (Mix_OpenAudio(mixRate, MIX_DEFAULT_FORMAT, 2, chunkFrames_) != 0) {
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    chunkFrames_ = 0;
    return false;
  }
  Mix_AllocateChannels(channels);
  started_ = true;
  return true;
}

StreamHandle MixerSoundLibrary::openStream(const std::string& fileName) {
  if (!started_ || !isPlainFileWithin(fileName, kMaxMusicBytes) || isMp3CutShort(fileName) ||
      isMp3WithoutAudio(fileName))
    return 0;
  Mix_Music* music = Mix_LoadMUS(fileName.c_str());
  if (music == nullptr) return 0;
  return storeHandle(streams_, music);
}

SampleHandle MixerSoundLibrary::loadSample(const std::string& fileName) {
  if (!started_ || !isPlainFileWithin(fileName, kMaxEffectBytes) ||
      wavDeclaresMoreThanItHolds(fileName))
    return 0;
  SDL_RWops* file = SDL_RWFromFile(fileName.c_str(), "rb");
  if (file == nullptr) return 0;
  // The mixer does not close every file it fails to read, so the file stays ours to close.
  Mix_Chunk* chunk = Mix_LoadWAV_RW(file, 0);
  SDL_RWclose(file);
  if (chunk == nullptr) return 0;
  return storeHandle(samples_, chunk);
}

void MixerSoundLibrary::playStream(int /*channel*/, StreamHandle stream) {
  Mix_Music* music = streamAt(stream);
  if (music == nullptr) return;
  // The mixer ends the old music before it starts the new one, even when the start fails.
  playing_ = Mix_PlayMusic(music, -1) == 0 ? stream : 0;
}

void MixerSoundLibrary::setVolume(int channel, int volume) {
  if (!started_) return;
  if (channel == 0 || channel == kChannelAll) Mix_VolumeMusic(mixerVolume(volume));
}

void MixerSoundLibrary::playSample(SampleHandle sample) {
  Mix_Chunk* chunk = sampleAt(sample);
  // With every channel busy the effect is dropped, as a fire-and-forget effect may be.
  if (chunk != nullptr) Mix_PlayChannel(-1, chunk, 0);
}

void MixerSoundLibrary::stopStream(StreamHandle stream) {
  if (streamAt(stream) == nullptr || stream != playing_) return;
  Mix_HaltMusic();
  playing_ = 0;
}

void MixerSoundLibrary::closeStream(StreamHandle stream) {
  Mix_Music* music = streamAt(stream);
  if (music == nullptr) return;
  stopStream(stream);
  Mix_FreeMusic(music);
  streams_[static_cast<size_t>(stream) - 1] = nullptr;
}

void MixerSoundLibrary::freeSample(SampleHandle sample) {
  Mix_Chunk* chunk = sampleAt(sample);
  if (chunk == nullptr) return;
  // A chunk must not be freed while a channel still plays it.
  for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
    if (Mix_GetChunk(channel) == chunk) Mix_HaltChannel(channel);
  }
  Mix_FreeChunk(chunk);
  samples_[static_cast<size_t>(sample) - 1] = nullptr;
}

void MixerSoundLibrary::closeLeavingDevice() {
  if (!started_) return;
  Mix_HaltMusic();
  Mix_HaltChannel(-1);
  for (Mix_Music* music : streams_) {
    if (music != nullptr) Mix_FreeMusic(music);
  }
  for (Mix_Chunk* chunk : samples_) {
    if (chunk != nullptr) Mix_FreeChunk(chunk);
  }
  streams_.clear();
  samples_.clear();
  playing_ = 0;
  started_ = false;
  chunkFrames_ = 0;
}

void MixerSoundLibrary::close() {
  if (!started_) return;
  closeLeavingDevice();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int MixerSoundLibrary::mixerVolume(int volume) {
  const int clamped = std::clamp(volume, 0, 255);
  return (clamped * MIX_MAX_VOLUME + 127) / 255;
}

Mix_Music* MixerSoundLibrary::streamAt(StreamHandle handle) const {
  return started_ ? lookUp(streams_, handle) : nullptr;
}

Mix_Chunk* MixerSoundLibrary::sampleAt(SampleHandle handle) const {
  return started_ ? lookUp(samples_, handle) : nullptr;
}

}  // namespace mdx::sound
