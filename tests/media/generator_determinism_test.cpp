// The generator gives the same bytes on every run, and says clearly when it cannot write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tga_reader.h"

namespace mdx::media::test {
namespace {

namespace fs = std::filesystem;

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
            ("mdx-mediagen-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
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
  // 115 pictures in media/ and two landscapes for each of the two packs.
  expectSameBytesTwice("pictures", 115 + 2 * 2);
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

TEST_F(GeneratorRuns, UnknownOptionsAreRefused) {
  EXPECT_NE(runGenerator("--only everything --out \"" + root_.string() + "\""), 0);
  EXPECT_NE(runGenerator("--colour red --out \"" + root_.string() + "\""), 0);
  EXPECT_NE(runGenerator("--only pictures"), 0);
  EXPECT_TRUE(fs::is_empty(root_));
}

}  // namespace
}  // namespace mdx::media::test
