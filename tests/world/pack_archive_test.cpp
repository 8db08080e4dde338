#include "world/pack_archive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace mdx::world {
namespace {

const std::vector<std::string> kMedia = {"level01.mp3", "lndscp02.tga"};

PackArchive smallPack() {
  PackArchive pack;
  pack.packName = "mypack";
  pack.levelCount = 2;
  pack.checkLines = {"level01.dat: proven: 57 world steps", "level02.dat: proven: 80 world steps"};
  pack.files = {
      {"pref.ini", "levelCount\n2\n"},        {"levels.ini", "[level01]\nname=First\n"},
      {"level01.dat", std::string(700, '1')}, {"level01.src", "# the source\n"},
      {"level02.dat", std::string(512, '2')}, {"lndscp02.tga", std::string(3000, '\x7f')}};
  return pack;
}

// Re-seals the header at offset after a test changed it, as a tool making a hostile archive
// would: the checksum is the sum of the header's bytes with its own field read as spaces.
void reseal(std::string& bytes, std::size_t offset) {
  std::fill_n(bytes.begin() + static_cast<long>(offset) + 148, 8, ' ');
  unsigned sum = 0;
  for (std::size_t i = 0; i < 512; ++i) sum += static_cast<unsigned char>(bytes[offset + i]);
  char field[8];
  std::snprintf(field, sizeof field, "%06o", sum);
  bytes.replace(offset + 148, 7, field, 7);
}

// The offset of the header of the archive's member whose path is path.
std::size_t headerOf(const std::string& bytes, const std::string& path) {
  for (std::size_t at = 0; at + 512 <= bytes.size(); at += 512) {
    if (bytes.compare(at, path.size() + 1, path + '\0') == 0) return at;
  }
  ADD_FAILURE() << path << " not found";
  return 0;
}

std::string refusal(std::string_view bytes, const PackArchiveLimits& limits = {}) {
  PackArchive archive;
  std::string error;
  EXPECT_FALSE(readPackArchive(bytes, kMedia, archive, error, limits));
  EXPECT_TRUE(archive.files.empty()) << "a refused archive hands back no file";
  return error;
}

TEST(PackArchive, ReadsBackWhatWasWrittenFileForFile) {
  const PackArchive pack = smallPack();
  const std::string bytes = writePackArchive(pack);
  EXPECT_EQ(bytes.size() % 512, 0u);
  EXPECT_EQ(bytes, writePackArchive(pack)) << "the same pack gives the same bytes";
  PackArchive read;
  std::string error;
  ASSERT_TRUE(readPackArchive(bytes, kMedia, read, error)) << error;
  EXPECT_EQ(read.packName, "mypack");
  EXPECT_EQ(read.levelCount, 2);
  EXPECT_EQ(read.checkLines, pack.checkLines);
  ASSERT_EQ(read.files.size(), pack.files.size());
  for (std::size_t i = 0; i < pack.files.size(); ++i) {
    EXPECT_EQ(read.files[i].name, pack.files[i].name);
    EXPECT_EQ(read.files[i].bytes, pack.files[i].bytes) << pack.files[i].name;
  }
}

TEST(PackArchive, TarListsTheMembersUnderThePacksFolder) {
  const std::string path = ::testing::TempDir() + "tar-lists.mdxpack";
  std::ofstream(path, std::ios::binary) << writePackArchive(smallPack());
  FILE* tar = popen(("tar tf '" + path + "' 2>&1").c_str(), "r");
  ASSERT_NE(tar, nullptr);
  std::string listing;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, tar) != nullptr) listing += buffer;
  if (pclose(tar) != 0 && listing.find("not found") != std::string::npos) GTEST_SKIP() << listing;
  EXPECT_EQ(listing,
            "mypack/manifest.txt\nmypack/pref.ini\nmypack/levels.ini\nmypack/level01.dat\nmypack/"
            "level01.src\n"
            "mypack/level02.dat\nmypack/lndscp02.tga\n");
}

TEST(PackArchive, RefusesPathsOutsideThePacksOneFolder) {
  PackArchive climbing = smallPack();
  climbing.files.push_back({"../../.bashrc", "echo hi"});
  EXPECT_NE(refusal(writePackArchive(climbing)).find("outside the pack's folder"),
            std::string::npos);

  PackArchive absolute = smallPack();
  absolute.packName = "";  // the members become "/pref.ini", ...
  EXPECT_NE(refusal(writePackArchive(absolute)).find("outside"), std::string::npos);

  std::string second = writePackArchive(smallPack());
  const std::size_t at = headerOf(second, "mypack/level02.dat");
  second.replace(at, 18, "yopack/level02.dat");
  reseal(second, at);
  EXPECT_NE(refusal(second).find("one folder"), std::string::npos);

  PackArchive hidden = smallPack();
  hidden.packName = ".hidden";
  EXPECT_NE(refusal(writePackArchive(hidden)).find("one folder"), std::string::npos);
}

TEST(PackArchive, RefusesFilesAPackDoesNotHold) {
  for (const std::string name : {"run.sh", "level00.dat", "level99.dat", "level7.dat", "song.mp3",
                                 "sub/pref.ini", ".pref.ini"}) {
    PackArchive pack = smallPack();
    pack.files.push_back({name, "x"});
    EXPECT_NE(refusal(writePackArchive(pack)).find("no file a pack holds"), std::string::npos)
        << name;
  }
  PackArchive twice = smallPack();
  twice.files.push_back(twice.files[1]);
  EXPECT_NE(refusal(writePackArchive(twice)).find("twice"), std::string::npos);
}

TEST(PackArchive, RefusesLinksDevicesAndFolders) {
  for (const char type : {'1', '2', '3', '4', '5', '6', 'L', 'x'}) {
    std::string bytes = writePackArchive(smallPack());
    const std::size_t at = headerOf(bytes, "mypack/level01.src");
    bytes[at + 156] = type;
    reseal(bytes, at);
    EXPECT_NE(refusal(bytes).find("not a plain file"), std::string::npos) << type;
  }
}

TEST(PackArchive, RefusesDamagedOrCutArchives) {
  const std::string whole = writePackArchive(smallPack());
  std::string flipped = whole;
  flipped[headerOf(whole, "mypack/pref.ini") + 130] ^= 1;  // a size digit, checksum left
  EXPECT_NE(refusal(flipped).find("checksum"), std::string::npos);

  std::string notTar = whole;
  notTar.replace(headerOf(whole, "mypack/pref.ini") + 257, 5, "gnutr");
  reseal(notTar, headerOf(whole, "mypack/pref.ini"));
  EXPECT_NE(refusal(notTar).find("not a ustar header"), std::string::npos);

  // Cut inside a file, inside a header, and before the end blocks.
  const std::size_t lastHeader = headerOf(whole, "mypack/lndscp02.tga");
  for (const std::size_t size : {lastHeader + 1000, lastHeader + 100, lastHeader}) {
    EXPECT_NE(refusal(std::string_view(whole).substr(0, size)).find("cut short"), std::string::npos)
        << size;
  }
  EXPECT_NE(refusal("levelCount\n1\n").find("not a pack archive"), std::string::npos);
  EXPECT_NE(refusal(std::string(2048, 'x')).find("not a ustar header"), std::string::npos);
}

TEST(PackArchive, RefusesMoreOrBiggerFilesThanTheLimits) {
  PackArchiveLimits limits;
  limits.maxFileBytes = 2999;
  EXPECT_NE(refusal(writePackArchive(smallPack()), limits).find("bigger than a pack's file"),
            std::string::npos);
  limits = {};
  limits.maxFiles = 5;
  EXPECT_NE(refusal(writePackArchive(smallPack()), limits).find("more files"), std::string::npos);
  limits = {};
  limits.maxArchiveBytes = writePackArchive(smallPack()).size() - 1;
  EXPECT_NE(refusal(writePackArchive(smallPack()), limits).find("bigger than a pack can be"),
            std::string::npos);
  // A size field claiming more than the archive holds.
  std::string claiming = writePackArchive(smallPack());
  const std::size_t at = headerOf(claiming, "mypack/level01.src");
  claiming.replace(at + 124, 11, "00000777777");
  reseal(claiming, at);
  EXPECT_NE(refusal(claiming).find("cut short"), std::string::npos);
}

TEST(PackArchive, RefusesAManifestThatDisagrees) {
  PackArchive missingLevel = smallPack();
  missingLevel.files.erase(missingLevel.files.begin() + 4);  // level02.dat
  EXPECT_NE(refusal(writePackArchive(missingLevel)).find("level files disagree"),
            std::string::npos);

  PackArchive extraLevel = smallPack();
  extraLevel.files.push_back({"level03.dat", "3"});
  EXPECT_NE(refusal(writePackArchive(extraLevel)).find("level files disagree"), std::string::npos);

  PackArchive prefSaysMore = smallPack();
  prefSaysMore.files[0].bytes = "levelCount\n3\n";
  EXPECT_NE(refusal(writePackArchive(prefSaysMore)).find("pref.ini's count"), std::string::npos);

  PackArchive noPref = smallPack();
  noPref.files.erase(noPref.files.begin());
  EXPECT_NE(refusal(writePackArchive(noPref)).find("no pref.ini"), std::string::npos);

  // The manifest's own name differs from the folder; its check failed; no manifest at all.
  std::string renamed = writePackArchive(smallPack());
  const std::size_t body = headerOf(renamed, "mypack/manifest.txt") + 512;
  renamed.replace(renamed.find("pack=mypack", body), 11, "pack=yopack");
  EXPECT_NE(refusal(renamed).find("names the pack \"yopack\""), std::string::npos);
  std::string failed = writePackArchive(smallPack());
  failed.replace(failed.find("check=ready"), 11, "check=2prob");
  EXPECT_NE(refusal(failed).find("did not pass its check"), std::string::npos);
  const std::string whole = writePackArchive(smallPack());
  EXPECT_NE(refusal(whole.substr(headerOf(whole, "mypack/pref.ini"))).find("no manifest"),
            std::string::npos);
}

TEST(PackArchive, PackNamesCannotLeaveOrHideInThePacksFolder) {
  for (const char* name : {"mypack", "Pack-2.v1", "a_b"}) EXPECT_TRUE(isSafePackName(name));
  for (const char* name : {"", ".", "..", ".hidden", "a/b", "a b", "caf\xc3\xa9"}) {
    EXPECT_FALSE(isSafePackName(name)) << name;
  }
  EXPECT_FALSE(isSafePackName(std::string(65, 'a')));
}

}  // namespace
}  // namespace mdx::world
