// Pictures and sounds that are not what their names say: a pipe nobody writes to, a folder, a
// sparse file of gigabytes, a picture header asking for a giant canvas, text posing as music.
// Each load must return promptly (a pipe must not block, a huge file must not be read into
// memory), with the picture's message or the sound's silence, and the rest must still load.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <random>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "render/asset_table.h"
#include "render/assets.h"
#include "sound/music.h"
#include "sound/sdl_mixer_sound_library.h"

namespace {

namespace fs = std::filesystem;
using namespace mdx;

constexpr auto kPrompt = std::chrono::seconds(20);
constexpr uintmax_t kHugeBytes = uintmax_t{6} << 30;  // 6 GiB, sparse: no disk is used

// Runs a job on an SDL thread, so that SDL frees what it keeps per thread when the job ends.
int runJob(void* data) {
  std::unique_ptr<std::function<void()>> job(static_cast<std::function<void()>*>(data));
  (*job)();
  return 0;
}

// Runs load on a thread of its own and fails the test when it has not returned in time (a load
// stuck on a pipe can never be joined; the thread is left behind and the process ends it).
template <typename T>
T returnsPromptly(const std::string& what, std::function<T()> load) {
  auto promise = std::make_shared<std::promise<T>>();
  std::future<T> result = promise->get_future();
  auto* job = new std::function<void()>([promise, load] { promise->set_value(load()); });
  SDL_DetachThread(SDL_CreateThread(runJob, "load", job));
  if (result.wait_for(kPrompt) != std::future_status::ready) {
    ADD_FAILURE() << what << " did not return";
    std::_Exit(1);  // the stuck thread holds the test hostage otherwise
  }
  return result.get();
}

// A scratch game folder (pack "pack") that lives as long as the test.
class BadFileFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("mdx-limits-" + std::to_string(std::random_device()()));
    fs::create_directories(root_ / "media");
    pack_ = world::shippedPackLayout(root_.string(), "pack");
  }
  void TearDown() override { fs::remove_all(root_); }

  // The path of a file named relative to the folder.
  std::string at(const std::string& name) const { return (root_ / name).string(); }
  // The bad files, by kind, under the given name within the folder.
  void makePipe(const std::string& name) { ASSERT_EQ(mkfifo(at(name).c_str(), 0600), 0); }
  void makeFolder(const std::string& name) { fs::create_directories(at(name)); }
  void makeHuge(const std::string& name, const std::string& head) {
    std::ofstream(at(name), std::ios::binary) << head;
    fs::resize_file(at(name), kHugeBytes);
  }
  void makeText(const std::string& name) {
    std::ofstream(at(name)) << "This is not a sound, just a note left in the media folder.\n";
  }

  fs::path root_;
  world::PackLayout pack_;
};

// A WAV header that announces a data chunk of nearly 4 GiB.
std::string wavHeaderOfGiantData() {
  std::string head = "RIFF\xff\xff\xff\xffWAVEfmt ";
  const char format[] = {16, 0, 0,    0,          1, 0, 2, 0, 0x44, (char)0xac,
                         0,  0, 0x10, (char)0xb1, 2, 0, 4, 0, 16,   0};
  head.append(format, sizeof format);
  head += "data\xf0\xff\xff\xff";
  return head;
}

using PictureBadFiles = BadFileFolder;

TEST_F(PictureBadFiles, PipeFolderHugeFileAndGiantCanvasAreReportedWithoutHanging) {
  makePipe("media/block007.tga");
  makeFolder("media/block008.tga");
  makeHuge("media/block009.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\x13\0\x13\0\x20\x08", 18));
  // A true-colour header of 65535 x 65535 pixels followed by a little data.
  makeHuge("media/block010.tga",
           std::string("\0\0\2\0\0\0\0\0\0\0\0\0\xff\xff\xff\xff\x20\x08", 18));
  fs::resize_file(at("media/block010.tga"), 4096);

  auto display = gfx::Display::openHeadless();
  ASSERT_NE(display, nullptr);
  gfx::SdlBackend backend(display->renderer());
  render::Assets assets;
  world::RecordingMessageBoxes messages;
  const int loaded = returnsPromptly<int>("loading the pictures", [&] {
    return render::loadAssets(assets, backend, pack_, &messages);
  });

  // Nothing else exists either, so every picture is reported, all in one message; the bad
  // ones load no more than the missing ones.
  EXPECT_EQ(loaded, 0);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Critical error");
  EXPECT_NE(messages.shown[0].text.find(" pictures could not be loaded:"), std::string::npos);
  EXPECT_EQ(assets.blockImages[9].loaded, 0);
}

class SoundBadFiles : public BadFileFolder {
 protected:
  void SetUp() override {
    BadFileFolder::SetUp();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(library.init(44100, 32));
  }
  void TearDown() override {
    library.close();
    BadFileFolder::TearDown();
  }
  sound::MixerSoundLibrary library;
};

TEST_F(SoundBadFiles, EffectsThatAreNotSoundsLoadNothingAndDoNotBlock) {
  makePipe("media/pipe.wav");
  makeFolder("media/folder.wav");
  makeHuge("media/huge.wav", wavHeaderOfGiantData());
  makeText("media/text.wav");
  for (const char* name :
       {"media/pipe.wav", "media/folder.wav", "media/huge.wav", "media/text.wav"}) {
    const sound::SampleHandle sample =
        returnsPromptly<sound::SampleHandle>(name, [&] { return library.loadSample(at(name)); });
    EXPECT_EQ(sample, 0) << name;
  }
}

// 454 bytes whose data chunk claims nearly 4 GiB: refused from the header, while the same
// layout with honest sizes still loads.
TEST_F(SoundBadFiles, WavDeclaringMoreThanItHoldsIsRefusedAndAnHonestOneLoads) {
  const fs::path data = fs::path(MDX_SOURCE_DIR) / "tests" / "limits" / "data";
  EXPECT_EQ(library.loadSample((data / "giant_data_chunk.wav").string()), 0);
  EXPECT_NE(library.loadSample((data / "honest_tone.wav").string()), 0);
}

// Nine bytes of no known format: refused, and the file is closed again (the sanitizer build's
// leak check catches a file left open).
TEST_F(SoundBadFiles, ShortFileOfNoKnownFormatIsRefusedAndClosed) {
  const fs::path data = fs::path(MDX_SOURCE_DIR) / "tests" / "limits" / "data";
  EXPECT_EQ(library.loadSample((data / "short_unknown_sound.wav").string()), 0);
}

TEST_F(SoundBadFiles, MusicThatIsNotMusicOpensNoStreamAndDoesNotBlock) {
  makePipe("media/pipe.mp3");
  makeFolder("media/folder.mp3");
  makeHuge("media/huge.mp3", "ID3\4\0\0\0\0\0\0");
  makeText("media/text.mp3");
  for (const char* name :
       {"media/pipe.mp3", "media/folder.mp3", "media/huge.mp3", "media/text.mp3"}) {
    const sound::StreamHandle stream =
        returnsPromptly<sound::StreamHandle>(name, [&] { return library.openStream(at(name)); });
    EXPECT_EQ(stream, 0) << name;
    library.playStream(0, stream);  // the game passes the empty handle on unchecked
    library.stopStream(stream);
    library.closeStream(stream);
  }
}

TEST_F(SoundBadFiles, SoundStartUpWithEveryFileBadIsSilentAndTheGameGoesOn) {
  library.close();
  makePipe("media/marvolen.mp3");
  makeHuge("media/the_end.mp3", "ID3\4\0\0\0\0\0\0");
  makeFolder("pack/level01.mp3");
  makeText("pack/level02.mp3");
  makePipe("media/button01.wav");
  makeHuge("media/explode.wav", wavHeaderOfGiantData());
  makeFolder("media/stick.wav");
  world::RecordingMessageBoxes messages;
  sound::Music music(library, &messages);
  returnsPromptly<bool>("the sound start-up", [&] {
    music.startSound(pack_);
    return true;
  });
  EXPECT_TRUE(messages.shown.empty());  // missing and unreadable sounds are not reported
  EXPECT_TRUE(library.started());
  EXPECT_EQ(music.titleStream, 0);
  EXPECT_EQ(music.endStream, 0);
  for (sound::SampleHandle sample : music.samples) EXPECT_EQ(sample, 0);
  music.switchMusic(1);
  music.playSample(world::Sample::Stick);
  music.stopSound();
}

}  // namespace
