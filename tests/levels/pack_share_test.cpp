// A pack shared as one file: a shipped pack exported and installed among a player's packs,
// where the game's catalogue finds it; hostile, broken and clashing archives refused with the
// player's folder left as it was.
#include "level/pack_share.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/files.h"
#include "level/pack_commands.h"
#include "world/level_meta.h"
#include "world/pack_archive.h"
#include "world/pack_catalog.h"

namespace mdx::level {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::string text, error;
  EXPECT_TRUE(base::readWholeFile(path.string(), text, error)) << error;
  return text;
}

void writeAll(const fs::path& path, const std::string& bytes) {
  std::string error;
  ASSERT_TRUE(base::writeFileSafely(path.string(), bytes, error)) << error;
}

// A game folder holding the shipped pack 2's built levels and a default pack with small
// stand-in media; pack 2 has a landscape of its own. home is an empty data home.
struct SharedPackFolders {
  fs::path root, game, home, players;
  explicit SharedPackFolders(const std::string& name)
      : root(fs::path(::testing::TempDir()) / ("share_" + name)) {
    fs::remove_all(root);
    game = root / "game";
    home = root / "home";
    players = world::playersPackFolder(home.string());
    fs::create_directories(game / "mappack1");
    fs::create_directories(home);
    writeAll(game / "mappacks.ini", "mappack1\nmappack2");
    for (const char* media : {"lndscp02.tga", "lndscp03.tga", "level01.mp3"}) {
      writeAll(game / "mappack1" / media, std::string("default ") + media);
    }
    fs::create_directories(game / "mappack2");
    for (const auto& entry : fs::directory_iterator(fs::path(MDX_GAME_DIR) / "mappack2")) {
      const std::string name = entry.path().filename().string();
      if (name.find(".dat") != std::string::npos || name.find(".ini") != std::string::npos) {
        fs::copy(entry.path(), game / "mappack2" / name);
      }
    }
    for (const char* media : {"lndscp03.tga", "level01.mp3"}) {
      writeAll(game / "mappack2" / media, std::string("default ") + media);
    }
    writeAll(game / "mappack2" / "lndscp02.tga", "pack 2's own landscape");
  }

  // Exports pack 2 as name into the file it returns.
  std::string exportPackTwo(const std::string& name) const {
    const std::string file = (root / (name + ".mdxpack")).string();
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(exportPack((game / "mappack2").string(), file, name, game.string(), {}, out, error))
        << error << out.str();
    return file;
  }

  PackInstall install(const std::string& file) const {
    return installPack(file, game.string(), players.string(), {});
  }
};

TEST(PackShare, AnExportedShippedPackInstallsAndTheGameListsItWithTheSameLevels) {
  const SharedPackFolders folders("round_trip");
  const std::string file = folders.exportPackTwo("shared");
  world::PackArchive archive;
  std::string error;
  ASSERT_TRUE(world::readPackArchive(readAll(file), {"lndscp02.tga", "lndscp03.tga", "level01.mp3"},
                                     archive, error))
      << error;
  for (const world::PackArchiveFile& carried : archive.files) {
    EXPECT_NE(carried.name, "lndscp03.tga") << "a copy of the default media is not carried";
  }
  EXPECT_EQ(archive.checkLines.size(), static_cast<size_t>(archive.levelCount));

  const PackInstall install = folders.install(file);
  ASSERT_TRUE(install.installed) << install.message << install.checkReport;
  EXPECT_EQ(install.packName, "shared");
  EXPECT_EQ(installNotice(install), "Pack \"shared\" installed: choose it at the next start");
  const world::PackCatalog catalog =
      world::readPackCatalog(folders.game.string(), folders.players.string());
  const world::CatalogPack* pack = catalog.find("shared");
  ASSERT_NE(pack, nullptr);
  EXPECT_TRUE(pack->playersOwn);
  const world::PackLayout installed = catalog.layout(*pack);
  const world::PackLayout shipped = catalog.layoutOf("mappack2");
  ASSERT_EQ(install.levelCount, packLevelCount(shipped.packFolder));
  for (int number = 1; number <= install.levelCount; ++number) {
    EXPECT_EQ(readAll(installed.levelPath(number)), readAll(shipped.levelPath(number))) << number;
  }
  EXPECT_EQ(readAll(installed.wordsPath()), readAll(shipped.wordsPath()));
  EXPECT_FALSE(world::readPackMeta(installed.wordsPath()).levelMeta(1).name.empty());
  EXPECT_EQ(readAll(installed.packFile("lndscp02.tga")), "pack 2's own landscape");
  EXPECT_EQ(readAll(installed.packFile("lndscp03.tga")), "default lndscp03.tga");
  // Nothing of the install is left beside the pack.
  EXPECT_EQ(std::distance(fs::directory_iterator(folders.players), fs::directory_iterator()), 1);
}

TEST(PackShare, RefusesANameTheGameOrThePlayerAlreadyHas) {
  const SharedPackFolders folders("clash");
  const PackInstall shipped = folders.install(folders.exportPackTwo("mappack1"));
  EXPECT_FALSE(shipped.installed);
  EXPECT_NE(shipped.message.find("the game ships a pack named \"mappack1\""), std::string::npos)
      << shipped.message;
  EXPECT_FALSE(fs::exists(folders.players)) << "a refused install makes no folder";

  const std::string file = folders.exportPackTwo("mine");
  fs::create_directories(folders.players / "mine");
  writeAll(folders.players / "mine" / "notes.txt", "the player's own");
  const PackInstall again = folders.install(file);
  EXPECT_FALSE(again.installed);
  EXPECT_NE(again.message.find("you already have"), std::string::npos) << again.message;
  EXPECT_EQ(installNotice(again), "Pack not installed: you already have a pack named \"mine\"");
  EXPECT_EQ(readAll(folders.players / "mine" / "notes.txt"), "the player's own");
  EXPECT_EQ(std::distance(fs::directory_iterator(folders.players), fs::directory_iterator()), 1);

  fs::create_symlink(folders.root / "nowhere", folders.players / "linked");
  const PackInstall linked = folders.install(folders.exportPackTwo("linked"));
  EXPECT_FALSE(linked.installed);
  EXPECT_NE(linked.message.find("you already have"), std::string::npos) << linked.message;
  EXPECT_FALSE(fs::exists(folders.root / "nowhere")) << "nothing written through the link";
}

TEST(PackShare, RefusesAHostileOrFailingArchiveAndWritesNothing) {
  const SharedPackFolders folders("hostile");
  const std::string good = readAll(folders.exportPackTwo("good"));

  world::PackArchive climbing{"good", 1, {}, {{"pref.ini", "levelCount\n1\n"}}};
  climbing.files.push_back({"../../../.profile", "echo owned"});
  world::PackArchive failing{"failing", 1, {}, {{"pref.ini", "levelCount\n1\n"}}};
  failing.files.push_back({"level01.dat", std::string(954, '\n')});  // no robot, no exit
  struct Case {
    std::string name, bytes, why;
  };
  const Case cases[] = {
      {"climbing", world::writePackArchive(climbing), "outside the pack's folder"},
      {"cut", good.substr(0, good.size() / 2), "cut short"},
      {"failing", world::writePackArchive(failing), "problem(s) in the pack check"},
      {"not an archive", "levelCount\n1\n", "not a pack archive"}};
  for (const auto& [name, bytes, why] : cases) {
    const fs::path file = folders.root / (name + ".mdxpack");
    writeAll(file, bytes);
    const PackInstall install = folders.install(file.string());
    EXPECT_FALSE(install.installed) << name;
    EXPECT_NE(install.message.find("not installed: "), std::string::npos) << install.message;
    EXPECT_NE(install.message.find(why), std::string::npos) << install.message;
    EXPECT_LE(installNotice(install).size(), kInstallNoticeChars) << installNotice(install);
    EXPECT_FALSE(fs::exists(folders.players)) << name << ": " << install.message;
    EXPECT_FALSE(fs::exists(folders.root / ".profile")) << name;
  }
}

TEST(PackShare, InstallsInTheBackgroundTellTheirEndsInTheOrderStarted) {
  const SharedPackFolders folders("background");
  const std::string good = folders.exportPackTwo("good");
  const fs::path cut = folders.root / "cut.mdxpack";
  writeAll(cut, readAll(good).substr(0, 5000));
  std::vector<PackInstall> ended;
  {
    BackgroundPackInstaller installer(folders.game.string(), folders.players.string());
    installer.start(good);
    installer.start(cut.string());
    while (installer.busy()) {
      for (PackInstall& install : installer.takeFinished()) ended.push_back(std::move(install));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // One more, left running: the installer's end stops it, and it leaves no half pack.
    installer.start(folders.exportPackTwo("late"));
  }
  ASSERT_EQ(ended.size(), 2u);
  EXPECT_TRUE(ended[0].installed) << ended[0].message;
  EXPECT_NE(ended[1].message.find("cut.mdxpack: not installed"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(folders.players)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "good" || name == "late") << name;
    EXPECT_TRUE(fs::exists(entry.path() / "pref.ini")) << name;
  }
}

TEST(PackShare, ExportRefusesAPackWithProblemsAndWritesNoFile) {
  const SharedPackFolders folders("export_refused");
  writeAll(folders.game / "mappack2" / "pref.ini", "levelCount\n9\n");
  const std::string file = (folders.root / "broken.mdxpack").string();
  std::ostringstream out;
  std::string error;
  EXPECT_FALSE(exportPack((folders.game / "mappack2").string(), file, "", folders.game.string(), {},
                          out, error));
  EXPECT_NE(error.find("problem"), std::string::npos) << error;
  EXPECT_NE(out.str().find("pref.ini says the last level is 9"), std::string::npos) << out.str();
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(exportPack((folders.game / "mappack2").string(), file, "../up",
                          folders.game.string(), {}, out, error));
  EXPECT_NE(error.find("cannot name a shared pack"), std::string::npos) << error;
}

}  // namespace
}  // namespace mdx::level
