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
mdx::world::PackLayout mediaFolderFor(int musicSeconds) {
  static std::map<int, std::unique_ptr<testing::ScratchFolder>> folders;
  auto& folder = folders[musicSeconds];
  if (!folder) {
    folder = std::make_unique<testing::ScratchFolder>("bench" + std::to_string(musicSeconds));
    if (!testing::writeGameMedia(folder->pack(), musicSeconds)) std::abort();
  }
  return folder->pack();
}

// The pack of the media the benchmark's argument asks for.
mdx::world::PackLayout useMediaOf(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  return mediaFolderFor(static_cast<int>(state.range(0)));
}

void BM_StartSound(benchmark::State& state) {
  const mdx::world::PackLayout pack = useMediaOf(state);
  for (auto _ : state) {
    MixerSoundLibrary library;
    Music music(library, nullptr);
    music.startSound(pack);
    state.PauseTiming();
    if (music.titleStream == 0 || music.samples[6] == 0) state.SkipWithError("media did not load");
    music.stopSound();
    state.ResumeTiming();
  }
}

void BM_OpenStreamsAndLoadSamples(benchmark::State& state) {
  const mdx::world::PackLayout pack = useMediaOf(state);
  MixerSoundLibrary library;
  if (!library.init(44100, 32)) state.SkipWithError("no audio device");
  const std::string music[] = {pack.titleSongPath(), pack.songPath(mdx::world::kEndingLevel),
                               pack.songPath(1), pack.songPath(2), pack.songPath(3)};
  for (auto _ : state) {
    std::vector<int32_t> streams;
    std::vector<int32_t> samples;
    for (const std::string& file : music) streams.push_back(library.openStream(file));
    for (int i = 0; i < mdx::world::kSampleCount; ++i) {
      samples.push_back(library.loadSample(
          pack.dataFile(mdx::world::sampleFile(static_cast<mdx::world::Sample>(i)))));
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
