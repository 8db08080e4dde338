// The generator gives the same bytes on every run, and says clearly when it cannot write.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "mediagen/mp3_encoder.h"
#include "mediagen/song.h"
#include "mediagen/synth.h"
#include "render/asset_table.h"
#include "tga_reader.h"

namespace mdx::media::test {
namespace {

namespace fs = std::filesystem;

// The pictures the game loads from a pack folder, and all of them.
size_t packPictureCount() {
  size_t count = 0;
  for (const render::AssetEntry& entry : render::assetTable(world::shippedPackLayout("", "pack")))
    count += entry.inPack;
  return count;
}

size_t allPictureCount() {
  return render::assetTable(world::shippedPackLayout("", "pack")).size();
}

int runGenerator(const std::string& args) {
  const std::string command = std::string("\"") + MDX_MEDIAGEN + "\" " + args + " 2>/dev/null";
  return std::system(command.c_str());
}

std::map<std::string, std::vector<uint8_t>> filesUnder(const fs::path& root) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), root).string()] = readFileBytes(entry.path().string());
    }
  }
  return files;
}

class GeneratorRuns : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("mdx-mediagen-" + std::to_string(getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  void expectSameBytesTwice(const std::string& part, size_t expectedFiles) {
    const fs::path a = root_ / "a", b = root_ / "b";
    ASSERT_EQ(
        runGenerator("--only " + part + " --packs mappack1,second --out \"" + a.string() + "\""),
        0);
    ASSERT_EQ(
        runGenerator("--only " + part + " --packs mappack1,second --out \"" + b.string() + "\""),
        0);
    const auto first = filesUnder(a), second = filesUnder(b);
    EXPECT_EQ(first.size(), expectedFiles);
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
      ASSERT_TRUE(second.count(name)) << name;
      EXPECT_TRUE(bytes == second.at(name)) << name << " differs between two runs";
    }
  }

  fs::path root_;
};

TEST_F(GeneratorRuns, PicturesAreTheSameBytesEveryRun) {
  // Every picture of the game's table, and the pack's pictures once more for the second pack.
  expectSameBytesTwice("pictures", allPictureCount() + packPictureCount());
}

TEST_F(GeneratorRuns, SoundsAreTheSameBytesEveryRun) {
  expectSameBytesTwice("sounds", 7);
}

// Music takes seconds per track, so one fresh render is compared with what the build wrote.
TEST_F(GeneratorRuns, BuiltTitleMusicMatchesAFreshRender) {
  std::ifstream in(std::string(MDX_SOURCE_DIR) + "/tools/mediagen/songs/title.song");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Song song;
  std::string error;
  ASSERT_TRUE(parseSong(text, song, error)) << error;
  std::vector<uint8_t> mp3;
  ASSERT_TRUE(encodeMp3(renderLoop(song), mp3, error)) << error;
  EXPECT_TRUE(mp3 == readFileBytes(std::string(MDX_GAME_DIR) + "/media/marvolen.mp3"));
}

TEST_F(GeneratorRuns, BrokenSongIsReportedByLineAndWritesNoMusic) {
  const fs::path songs = root_ / "songs", out = root_ / "out", log = root_ / "log.txt";
  fs::create_directories(songs);
  std::ofstream(songs / "title.song") << "tempo 120\ninstrument a sine\npattern p\na C4 Z9\nend\n";
  const std::string command = std::string("\"") + MDX_MEDIAGEN + "\" --only music --songs \"" +
                              songs.string() + "\" --out \"" + out.string() + "\" 2>\"" +
                              log.string() + "\"";
  EXPECT_NE(std::system(command.c_str()), 0);
  const std::vector<uint8_t> bytes = readFileBytes(log.string());
  const std::string messages(bytes.begin(), bytes.end());
  EXPECT_NE(messages.find("title.song: line 4: 'Z9' is not a note"), std::string::npos) << messages;
  EXPECT_NE(messages.find("ending.song"), std::string::npos) << messages;
  EXPECT_FALSE(fs::exists(out / "media/marvolen.mp3"));
}

TEST_F(GeneratorRuns, SecondPackGetsItsOwnLandscapes) {
  ASSERT_EQ(
      runGenerator("--only pictures --packs mappack1,second --out \"" + root_.string() + "\""), 0);
  EXPECT_NE(readFileBytes((root_ / "mappack1/lndscp02.tga").string()),
            readFileBytes((root_ / "second/lndscp02.tga").string()));
}

TEST_F(GeneratorRuns, UnwritableFolderFailsWithoutLeavingPartFiles) {
  const fs::path blocker = root_ / "file";
  { std::ofstream(blocker.string()) << "not a folder"; }
  EXPECT_NE(runGenerator("--only pictures --out \"" + blocker.string() + "\""), 0);
  EXPECT_TRUE(fs::is_regular_file(blocker));
}

// A folder standing where a picture belongs: its temporary file is written, but cannot be
// renamed over the folder. The run fails, writes the others, and leaves no temporary file.
TEST_F(GeneratorRuns, UnrenamableFileFailsWithoutLeavingPartFiles) {
  fs::create_directories(root_ / "media" / "logo.tga");
  EXPECT_NE(runGenerator("--only pictures --out \"" + root_.string() + "\""), 0);
  EXPECT_TRUE(fs::is_directory(root_ / "media" / "logo.tga"));
  EXPECT_TRUE(fs::is_regular_file(root_ / "media" / "dx.tga"));
  // A temporary file is named after its target with one more extension ("logo.tga.a1B2c3").
  for (const auto& entry : fs::recursive_directory_iterator(root_)) {
    EXPECT_FALSE(entry.path().stem().has_extension()) << entry.path();
  }
}

// The listing is what a run writes, file for file, and writes nothing itself.
TEST_F(GeneratorRuns, ListedOutputsAreExactlyTheWrittenFiles) {
  const fs::path out = root_ / "out", list = root_ / "list.txt";
  const std::string packs = " --packs mappack1,second --out \"" + out.string() + "\"";
  ASSERT_EQ(runGenerator("--only pictures --list-outputs" + packs + " > \"" + list.string() + "\""),
            0);
  EXPECT_FALSE(fs::exists(out));
  std::ifstream in(list);
  std::map<std::string, std::vector<uint8_t>> listed;
  for (std::string line; std::getline(in, line);) listed[line];
  ASSERT_EQ(runGenerator("--only pictures" + packs), 0);
  const auto written = filesUnder(out);
  EXPECT_EQ(listed.size(), written.size());
  for (const auto& [name, bytes] : written) EXPECT_TRUE(listed.count(name)) << name;
}

TEST_F(GeneratorRuns, UnknownOptionsAreRefused) {
  EXPECT_NE(runGenerator("--only everything --out \"" + root_.string() + "\""), 0);
  EXPECT_NE(runGenerator("--colour red --out \"" + root_.string() + "\""), 0);
  EXPECT_NE(runGenerator("--only pictures"), 0);
  EXPECT_TRUE(fs::is_empty(root_));
}

}  // namespace
}  // namespace mdx::media::test
