// How long the game's sound start-up takes: the whole startSound (device, five streams, seven
// effects, title music) and the file work alone, for short and for song-length music files.
// Runs on SDL's dummy audio driver, so no sound card is needed.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"
#include "sound_test_env.h"
#include "world/services.h"

namespace {

using mdx::sound::MixerSoundLibrary;
using mdx::sound::Music;
namespace testing = mdx::sound::testing;

// Media folders by music length, made once and kept for the whole run.
std::string mediaFolderFor(int musicSeconds) {
  static std::map<int, std::unique_ptr<testing::ScratchFolder>> folders;
  auto& folder = folders[musicSeconds];
  if (!folder) {
    folder = std::make_unique<testing::ScratchFolder>("bench" + std::to_string(musicSeconds));
    if (!testing::writeGameMedia("pack", musicSeconds)) std::abort();
  }
  return folder->path().string();
}

void useMediaOf(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::string folder = mediaFolderFor(static_cast<int>(state.range(0)));
  std::filesystem::current_path(folder);
}

void BM_StartSound(benchmark::State& state) {
  useMediaOf(state);
  for (auto _ : state) {
    MixerSoundLibrary library;
    Music music(library, nullptr);
    music.startSound("pack");
    state.PauseTiming();
    if (music.titleStream == 0 || music.samples[6] == 0) state.SkipWithError("media did not load");
    music.stopSound();
    state.ResumeTiming();
  }
}

void BM_OpenStreamsAndLoadSamples(benchmark::State& state) {
  useMediaOf(state);
  MixerSoundLibrary library;
  if (!library.init(44100, 32)) state.SkipWithError("no audio device");
  const char* music[] = {"media/marvolen.mp3", "media/the_end.mp3", "pack/level01.mp3",
                         "pack/level02.mp3", "pack/level03.mp3"};
  for (auto _ : state) {
    std::vector<int32_t> streams;
    std::vector<int32_t> samples;
    for (const char* file : music) streams.push_back(library.openStream(file));
    for (int i = 0; i < mdx::world::kSampleCount; ++i) {
      samples.push_back(
          library.loadSample(mdx::world::sampleFile(static_cast<mdx::world::Sample>(i))));
    }
    state.PauseTiming();
    for (int32_t stream : streams) library.closeStream(stream);
    for (int32_t sample : samples) library.freeSample(sample);
    state.ResumeTiming();
  }
  library.close();
}

// Music files of one second and of two minutes: streaming keeps the cost independent of length.
// Each start-up also closes the device, which waits for the audio thread: keep the count low.
BENCHMARK(BM_StartSound)->Arg(1)->Arg(120)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenStreamsAndLoadSamples)->Arg(1)->Arg(120)->Unit(benchmark::kMillisecond);

}  // namespace
