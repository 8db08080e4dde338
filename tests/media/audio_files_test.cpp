// The sound effects and music in the assembled game folder, read back the way the game
// reads them: through SDL_mixer with the dummy audio driver.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "mediagen/generator.h"
#include "mediagen/song.h"
#include "mediagen/synth.h"
#include "tga_reader.h"

namespace mdx::media::test {
namespace {

const std::string kGame = MDX_GAME_DIR;

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

bool readWav(const std::string& path, Wav& wav) {
  const std::vector<uint8_t> b = readFileBytes(path);
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    return false;
  }
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string id(b.begin() + long(at), b.begin() + long(at) + 4);
    const size_t size = le(b, at + 4, 4);
    if (at + 8 + size > b.size()) return false;
    if (id == "fmt ") {
      wav.format = int(le(b, at + 8, 2));
      wav.channels = int(le(b, at + 10, 2));
      wav.rate = int(le(b, at + 12, 4));
      wav.bits = int(le(b, at + 22, 2));
    } else if (id == "data") {
      for (size_t i = 0; i + 1 < size; i += 2) wav.samples.push_back(int16_t(le(b, at + 8 + i, 2)));
    }
    at += 8 + size + (size & 1);
  }
  return true;
}

class AudioFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    Mix_Init(MIX_INIT_MP3);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
  }
  static void TearDownTestSuite() {
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
  }
};

TEST_F(AudioFiles, EffectsAreShortClickFreeMonoWavs) {
  const struct {
    const char* file;
    double longest;  // seconds: the footstep and the drop tick must end before the next one
  } effects[] = {{"button01.wav", 0.5}, {"lift01.wav", 0.6}, {"run01.wav", 0.15}, {"fin.wav", 2.0},
                 {"move.wav", 0.3},     {"stick.wav", 0.6},  {"explode.wav", 2.0}};
  for (const auto& e : effects) {
    const std::string path = kGame + "/media/" + e.file;
    Wav wav;
    ASSERT_TRUE(readWav(path, wav)) << path;
    EXPECT_EQ(wav.format, 1) << e.file;
    EXPECT_EQ(wav.channels, 1) << e.file;
    EXPECT_EQ(wav.rate, 44100) << e.file;
    EXPECT_EQ(wav.bits, 16) << e.file;
    ASSERT_GT(wav.samples.size(), 441u) << e.file;
    EXPECT_LE(wav.samples.size() / 44100.0, e.longest) << e.file;
    int peak = 0;
    for (int16_t s : wav.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 8000) << e.file << " is too quiet";
    EXPECT_LT(peak, 32767) << e.file << " clips";
    EXPECT_LT(std::abs(wav.samples.front()), 200) << e.file << " starts with a click";
    EXPECT_LT(std::abs(wav.samples.back()), 200) << e.file << " ends with a click";
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    EXPECT_NE(chunk, nullptr) << e.file << ": " << Mix_GetError();
    if (chunk) Mix_FreeChunk(chunk);
  }
}

std::string songText(const std::string& name) {
  std::ifstream in(std::string(MDX_SONG_DIR) + "/" + name);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The packs this build ships, from the build's own list.
std::vector<std::string> shippedPacks() {
  std::vector<std::string> packs;
  std::stringstream list(MDX_PACKS);
  for (std::string pack; std::getline(list, pack, ',');) packs.push_back(pack);
  return packs;
}

TEST_F(AudioFiles, EveryTrackOfEveryPackLoopsForOneToTwoMinutes) {
  const std::vector<MusicTrack> tracks = musicTracks(shippedPacks());
  for (const MusicTrack& t : tracks) {
    Song song;
    std::string error;
    ASSERT_TRUE(parseSong(songText(t.song), song, error)) << t.song << ": " << error;
    // A level takes minutes: a shorter loop repeats too often, a longer one only makes the
    // game bigger.
    const double intended = loopSamples(song) / 44100.0;
    EXPECT_GE(intended, 60.0) << t.song;
    EXPECT_LE(intended, 120.0) << t.song;
    Mix_Music* music = Mix_LoadMUS((kGame + "/" + t.output).c_str());
    ASSERT_NE(music, nullptr) << t.output << ": " << Mix_GetError();
    // Within a fraction of one MP3 frame: the decoder trims the encoder's delay and padding
    // by the gapless header, so the loop point falls exactly where the music loops.
    EXPECT_NEAR(Mix_MusicDuration(music), intended, 0.005) << t.output;
    Mix_FreeMusic(music);
  }
}

TEST_F(AudioFiles, CorruptMusicIsRefusedNotPlayed) {
  const std::string path = ::testing::TempDir() + "mdx-broken-" + std::to_string(getpid()) + ".mp3";
  std::vector<uint8_t> bytes = readFileBytes(kGame + "/media/marvolen.mp3");
  ASSERT_GT(bytes.size(), 1000u);
  bytes.assign(bytes.size(), 0x55);  // same size, no frame anywhere
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  Mix_Music* music = Mix_LoadMUS(path.c_str());
  EXPECT_EQ(music, nullptr);
  if (music) Mix_FreeMusic(music);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace mdx::media::test
