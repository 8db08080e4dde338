// mappacks.ini that is not a plain list: a pipe nobody writes to, an endless device, a sparse
// file of 64 GiB. The reader must come back promptly, with no entries for what cannot be
// opened as a file, and with a bounded list for a gigantic one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <thread>

#include "world/pack_list.h"

namespace {

namespace fs = std::filesystem;
using mdx::world::PackList;
using mdx::world::readPackList;

// Reads the list on a thread of its own; a reader stuck on a pipe fails the test (and ends
// the process, since the stuck thread can never be joined).
PackList readsPromptly(const std::string& path) {
  auto promise = std::make_shared<std::promise<PackList>>();
  std::future<PackList> result = promise->get_future();
  std::thread([promise, path] { promise->set_value(readPackList(path)); }).detach();
  if (result.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ADD_FAILURE() << "reading " << path << " did not return";
    std::_Exit(1);
  }
  return result.get();
}

class PackListLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("mdx-packs-" + std::to_string(std::random_device()()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(PackListLimits, PipeAndEndlessDeviceCountAsFilesThatCannotBeOpened) {
  ASSERT_EQ(mkfifo(path("pipe.ini").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", path("zero.ini"));
  for (const char* name : {"pipe.ini", "zero.ini"}) {
    const PackList list = readsPromptly(path(name));
    EXPECT_FALSE(list.opened) << name;
    EXPECT_TRUE(list.entries.empty()) << name;
  }
}

TEST_F(PackListLimits, GiganticFileIsReadOnlyAsFarAsAnyListCouldGo) {
  {
    std::ofstream out(path("huge.ini"), std::ios::binary);
    out << "mappack1\nmappack2\n";
  }
  fs::resize_file(path("huge.ini"), uintmax_t{64} << 30);  // sparse: no disk is used
  const PackList list = readsPromptly(path("huge.ini"));
  ASSERT_TRUE(list.opened);
  ASSERT_GE(list.entries.size(), 3u);
  EXPECT_EQ(list.entries[0], "mappack1");
  EXPECT_EQ(list.entries[1], "mappack2");
  EXPECT_EQ(list.entries[2].size(), 254u);  // the zeros after them, cut like any long line
}

TEST_F(PackListLimits, LineOfAMillionCharactersKeepsItsStartAndTheNextLineStillCounts) {
  {
    std::ofstream out(path("long.ini"), std::ios::binary);
    out << std::string(1000000, 'p') << "\nmappack2";
  }
  const PackList list = readsPromptly(path("long.ini"));
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(list.entries[0], std::string(254, 'p'));
  EXPECT_EQ(list.entries[1], "mappack2");
}

}  // namespace
