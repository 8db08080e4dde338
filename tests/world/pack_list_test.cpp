#include "world/pack_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace mdx::world {
namespace {

std::string writeFile(const std::string& name, const std::string& bytes) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

TEST(PackList, EmptyLinesAndEmptyFilesNameNoPack) {
  EXPECT_EQ(readPackList(writeFile("packs1.ini", "mappack1\n")).entries,
            (std::vector<std::string>{"mappack1"}));
  EXPECT_EQ(readPackList(writeFile("packs2.ini", "mappack1")).entries,
            (std::vector<std::string>{"mappack1"}));
  EXPECT_EQ(readPackList(writeFile("packs3.ini", "a\r\n\r\n\nb\r\n")).entries,
            (std::vector<std::string>{"a", "b"}));
  // An empty list is a missing one: the caller's pack stays, never an empty name.
  for (const char* bytes : {"", "\n", "\r\n\r\n"}) {
    const PackList list = readPackList(writeFile("packs4.ini", bytes));
    EXPECT_TRUE(list.opened);
    EXPECT_TRUE(list.entries.empty());
  }
}

TEST(PackList, MissingFileOrFolderGivesNoEntriesAndDoesNotHang) {
  PackList missing = readPackList(::testing::TempDir() + "no-such-mappacks.ini");
  EXPECT_FALSE(missing.opened);
  EXPECT_TRUE(missing.entries.empty());
  PackList folder = readPackList(::testing::TempDir());
  EXPECT_FALSE(folder.opened);
  EXPECT_TRUE(folder.entries.empty());
}

TEST(PackList, LongLinesAreCutAt254CharactersAndTheRestSkipped) {
  const std::string longName(300, 'x');
  PackList list = readPackList(writeFile("packs5.ini", longName + "\nsecond"));
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(list.entries[0], std::string(254, 'x'));
  EXPECT_EQ(list.entries[1], "second");
}

}  // namespace
}  // namespace mdx::world
