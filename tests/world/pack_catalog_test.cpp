#include "world/pack_catalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mdx::world {
namespace {

namespace fs = std::filesystem;

// A data folder and a player's pack folder of their own under the temp folder, per test.
class Catalog : public ::testing::Test {
 protected:
  void SetUp() override {
    root =
        fs::path(::testing::TempDir()) /
        ("catalog-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root);
    data = (root / "data").string();
    players = (root / "packs").string();
    fs::create_directories(data);
    fs::create_directories(players);
  }
  void TearDown() override { fs::remove_all(root); }

  void write(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  void playersPack(const std::string& name) {
    write(players + "/" + name + "/pref.ini", "levels\n1\n");
  }

  std::vector<std::string> names(const PackCatalog& catalog) {
    std::vector<std::string> list;
    for (const CatalogPack& pack : catalog.packs) list.push_back(pack.name);
    return list;
  }

  fs::path root;
  std::string data, players;
};

TEST_F(Catalog, ShippedPacksComeInListOrderThenThePlayersPacksByName) {
  write(data + "/mappacks.ini", "zeta\nalpha\n");
  playersPack("mine");
  playersPack("bob");
  fs::create_directories(players + "/notes");  // no pref.ini: no pack
  write(players + "/loose.ini", "levels\n1\n");
  const PackCatalog catalog = readPackCatalog(data, players);
  EXPECT_TRUE(catalog.listOpened);
  EXPECT_EQ(names(catalog), (std::vector<std::string>{"zeta", "alpha", "bob", "mine"}));
  EXPECT_FALSE(catalog.packs[1].playersOwn);
  EXPECT_TRUE(catalog.packs[2].playersOwn);
  EXPECT_TRUE(catalog.refused.empty());
  // The dialog's choice by index; an index naming no pack keeps the current name.
  EXPECT_EQ(catalog.nameAt(3, "x"), "mine");
  EXPECT_EQ(catalog.nameAt(4, "x"), "x");
  EXPECT_EQ(catalog.nameAt(-1, "x"), "x");
}

TEST_F(Catalog, APlayersPackNamedAsAShippedOneIsRefusedAndSaysWhy) {
  write(data + "/mappacks.ini", "mappack1");
  playersPack("mappack1");
  playersPack("other");
  const PackCatalog catalog = readPackCatalog(data, players);
  EXPECT_EQ(names(catalog), (std::vector<std::string>{"mappack1", "other"}));
  EXPECT_EQ(catalog.layoutOf("mappack1").packFolder, data + "/mappack1");
  ASSERT_EQ(catalog.refused.size(), 1u);
  EXPECT_NE(catalog.refused[0].find(players + "/mappack1"), std::string::npos)
      << catalog.refused[0];
  EXPECT_NE(catalog.refused[0].find("rename"), std::string::npos) << catalog.refused[0];
}

// A pack is shown by the name its words file gives it, an older pack (no words file, or none
// naming it, or a broken name) by its folder's; where two packs share a name each is followed
// by its folder.
TEST_F(Catalog, PacksAreShownByTheirOwnNamesAndTheFolderOnlyWhereNamesClash) {
  write(data + "/mappacks.ini", "mappack1\nmappack2\nold\nbroken");
  write(data + "/mappack1/levels.ini", "[pack]\nname=The Machine Works\n[level01]\nname=A\n");
  write(data + "/mappack2/levels.ini", "# words\n[pack]\n name = Fire and Ice \n");
  write(data + "/broken/levels.ini", "[pack]\nname=" + std::string(40, 'x') + "\n");
  playersPack("mine");
  write(players + "/mine/levels.ini", "[pack]\nname=Fire and Ice\n");
  const PackCatalog catalog = readPackCatalog(data, players);
  ASSERT_EQ(catalog.packs.size(), 5u);
  EXPECT_EQ(catalog.shownName(catalog.packs[0]), "The Machine Works");
  EXPECT_EQ(catalog.shownName(catalog.packs[1]), "Fire and Ice (mappack2)");
  EXPECT_EQ(catalog.shownName(catalog.packs[2]), "old");
  EXPECT_EQ(catalog.shownName(catalog.packs[3]), "broken");
  EXPECT_EQ(catalog.shownName(catalog.packs[4]), "Fire and Ice (mine)");
  EXPECT_EQ(catalog.shownNameOf("mappack1"), "The Machine Works");
  // A pack the catalogue does not list (an unlisted --pack folder) names itself too.
  write(data + "/extra/levels.ini", "[pack]\nname=Extra Levels\n");
  EXPECT_EQ(catalog.shownNameOf("extra"), "Extra Levels");
  EXPECT_EQ(catalog.shownNameOf("nowhere"), "nowhere");
}

TEST_F(Catalog, WithoutAListOrAPlayersFolderTheOtherStillCounts) {
  playersPack("mine");
  const PackCatalog noList = readPackCatalog(data, players);
  EXPECT_FALSE(noList.listOpened);
  EXPECT_EQ(names(noList), (std::vector<std::string>{"mine"}));
  write(data + "/mappacks.ini", "mappack1");
  EXPECT_EQ(names(readPackCatalog(data, "")), (std::vector<std::string>{"mappack1"}));
  EXPECT_EQ(names(readPackCatalog(data, players + "/absent")),
            (std::vector<std::string>{"mappack1"}));
}

TEST_F(Catalog, EveryFileOfAPackLiesInItsFolderAndTheSharedOnesInTheDataFolder) {
  write(data + "/mappacks.ini", "mappack1");
  playersPack("mine");
  const PackCatalog catalog = readPackCatalog(data, players);
  const PackLayout mine = catalog.layoutOf("mine");
  EXPECT_EQ(mine.levelPath(7), players + "/mine/level07.dat");
  EXPECT_EQ(mine.levelPath(12), players + "/mine/level12.dat");
  EXPECT_EQ(mine.prefPath(), players + "/mine/pref.ini");
  EXPECT_EQ(mine.songPath(2), players + "/mine/level02.mp3");
  EXPECT_EQ(mine.packFile("lndscp02.tga"), players + "/mine/lndscp02.tga");
  // The ending, its song and the title song are shared by every pack.
  EXPECT_EQ(mine.levelPath(kEndingLevel), data + "/media/level99.dat");
  EXPECT_EQ(mine.songPath(kEndingLevel), data + "/media/the_end.mp3");
  EXPECT_EQ(mine.titleSongPath(), data + "/media/marvolen.mp3");
  EXPECT_EQ(mine.dataFile("media/fin.wav"), data + "/media/fin.wav");
  // Music values that name no song play none.
  for (int32_t music : {0, kPackSongs + 1, -1, kEndingLevel + 1}) {
    EXPECT_EQ(mine.songPath(music), "") << music;
  }
  // An unlisted name is a folder of the data folder, or a path of its own.
  EXPECT_EQ(catalog.layoutOf("loose").packFolder, data + "/loose");
  EXPECT_EQ(catalog.layoutOf("/tmp/x").packFolder, "/tmp/x");
  // Without a data folder the paths are relative to the working directory.
  EXPECT_EQ(shippedPackLayout("", "p").levelPath(3), "p/level03.dat");
  EXPECT_EQ(shippedPackLayout("", "p").levelPath(kEndingLevel), "media/level99.dat");
}

TEST_F(Catalog, LevelFileNamesReadBackOnlyInTheGamesSpelling) {
  for (int32_t n : {0, 1, 9, 10, 42, 98, 100, 12345}) {
    EXPECT_EQ(levelNumberOfFile(levelFileName(n)), n) << levelFileName(n);
  }
  EXPECT_EQ(levelFileName(3), "level03.dat");
  for (const char* other : {"level7.dat", "level007.dat", "level07.src", "level.dat", "level-3.dat",
                            "levelab.dat", "pref.ini", "xlevel07.dat", "level99999999999.dat"}) {
    EXPECT_FALSE(levelNumberOfFile(other).has_value()) << other;
  }
}

TEST(PlayersPackFolder, LiesBelowTheDataHome) {
  EXPECT_EQ(playersPackFolder("/home/ann/.local/share"),
            "/home/ann/.local/share/marvolen-dx/packs");
  EXPECT_EQ(playersPackFolder(""), "");
}

}  // namespace
}  // namespace mdx::world
