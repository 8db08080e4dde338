// The safe write and the text-file reader on real files: whatever fails, the old file stays
// whole and no temporary file is left; whatever lies at a path, reading neither blocks nor runs
// past its limit.
#include "base/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

namespace mdx::base {
namespace {

namespace fs = std::filesystem;

class FileFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("mdx-base-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    chmod(dir.c_str(), 0755);
    fs::remove_all(dir);
  }
  std::string file(const std::string& name) const { return (dir / name).string(); }
  std::string read(const std::string& name) const {
    std::string text, error;
    EXPECT_TRUE(readWholeFile(file(name), text, error)) << error;
    return text;
  }
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) found.insert(entry.path().filename());
    return found;
  }
  fs::path dir;
};

TEST_F(FileFolder, AWriteReplacesTheFileWholeAndMakesMissingFolders) {
  std::string error;
  ASSERT_TRUE(writeFileSafely(file("a/b/new.txt"), "first", error)) << error;
  EXPECT_EQ(read("a/b/new.txt"), "first");
  ASSERT_TRUE(writeFileSafely(file("a/b/new.txt"), std::string("\0second\n", 8), error)) << error;
  EXPECT_EQ(read("a/b/new.txt"), std::string("\0second\n", 8));
  ASSERT_TRUE(writeFileSafely(file("a/b/new.txt"), "", error)) << error;
  EXPECT_EQ(read("a/b/new.txt"), "");
  EXPECT_EQ(fs::directory_iterator(dir / "a/b")->path().filename(), "new.txt");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "a/b"), fs::directory_iterator()), 1);
}

TEST_F(FileFolder, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  std::string error;
  ASSERT_TRUE(writeFileSafely(file("kept.txt"), "old", error));
  const std::set<std::string> before = names();

  // A disk that fills up after three bytes, and one whose writes stop taking bytes.
  const FileWriter fillsUp = [](int fd, const void* data, std::size_t size) -> ssize_t {
    if (size > 3) return ::write(fd, data, 3);
    errno = ENOSPC;
    return -1;
  };
  EXPECT_FALSE(writeFileSafely(file("kept.txt"), "new text", error, fillsUp));
  EXPECT_NE(error.find("No space left"), std::string::npos) << error;
  const FileWriter stalls = [](int, const void*, std::size_t) -> ssize_t { return 0; };
  error.clear();
  EXPECT_FALSE(writeFileSafely(file("kept.txt"), "new text", error, stalls));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(read("kept.txt"), "old");
  EXPECT_EQ(names(), before);

  // A folder standing where the file belongs: written, but it cannot be renamed over it.
  fs::create_directory(dir / "folder");
  error.clear();
  EXPECT_FALSE(writeFileSafely(file("folder"), "text", error));
  EXPECT_NE(error.find("folder"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_EQ(names(), (std::set<std::string>{"kept.txt", "folder"}));
}

TEST_F(FileFolder, APathThatCannotBeMadeIsReportedAndNothingIsWritten) {
  std::string error;
  ASSERT_TRUE(writeFileSafely(file("plain"), "a file, not a folder", error));
  EXPECT_FALSE(writeFileSafely(file("plain/below/x.txt"), "text", error));
  EXPECT_NE(error.find("not a folder"), std::string::npos) << error;
  EXPECT_EQ(read("plain"), "a file, not a folder");
  EXPECT_EQ(names(), std::set<std::string>{"plain"});

  // A read-only folder (root may write there anyway, so only checked for other users).
  if (geteuid() != 0) {
    chmod(dir.c_str(), 0555);
    error.clear();
    EXPECT_FALSE(writeFileSafely(file("plain"), "new", error));
    EXPECT_FALSE(error.empty());
    chmod(dir.c_str(), 0755);
    EXPECT_EQ(read("plain"), "a file, not a folder");
    EXPECT_EQ(names(), std::set<std::string>{"plain"});
  }
}

TEST_F(FileFolder, ReadingTellsMissingFromUnusableAndNeverBlocks) {
  EXPECT_EQ(readTextFile(file("absent")).status, FileText::Status::Missing);
  std::string text, error;
  EXPECT_FALSE(readWholeFile(file("absent"), text, error));
  EXPECT_NE(error.find(file("absent")), std::string::npos) << error;

  fs::create_directory(dir / "folder");
  const FileText folder = readTextFile(file("folder"));
  EXPECT_EQ(folder.status, FileText::Status::Unusable);
  EXPECT_NE(folder.note.find("not a regular file"), std::string::npos) << folder.note;

  ASSERT_EQ(mkfifo(file("pipe").c_str(), 0644), 0);  // nobody writes: a read would wait forever
  EXPECT_EQ(readTextFile(file("pipe")).status, FileText::Status::Unusable);
}

TEST_F(FileFolder, TheLimitCutsTheTextAndSaysSo) {
  // Larger than any single read, so the reader must put pieces together.
  std::string big(300000, 'x');
  big[0] = '\0';
  big.back() = 'z';
  std::string error;
  ASSERT_TRUE(writeFileSafely(file("big"), big, error));

  const FileText whole = readTextFile(file("big"));
  EXPECT_EQ(whole.status, FileText::Status::Read);
  EXPECT_EQ(whole.text, big);
  EXPECT_FALSE(whole.cutShort);

  const FileText exact = readTextFile(file("big"), big.size());
  EXPECT_EQ(exact.text, big);
  EXPECT_FALSE(exact.cutShort);

  const FileText cut = readTextFile(file("big"), big.size() - 1);
  EXPECT_EQ(cut.text, big.substr(0, big.size() - 1));
  EXPECT_TRUE(cut.cutShort);

  const FileText none = readTextFile(file("big"), 0);
  EXPECT_EQ(none.text, "");
  EXPECT_TRUE(none.cutShort);
}

}  // namespace
}  // namespace mdx::base
