// The pack commands on temporary folders: a new pack, levels added to it (only proven ones),
// and the pack check finding each kind of problem.
#include "level/pack_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/files.h"
#include "base/text.h"
#include "level/tool_commands.h"
#include "scoped_env.h"
#include "test_sources.h"
#include "world/level_meta.h"

namespace mdx::level {
namespace {

namespace fs = std::filesystem;
using mdx::ScopedEnv;
using testing::Source;

std::string readAll(const std::string& path) {
  std::string text, error;
  EXPECT_TRUE(mdx::base::readWholeFile(path, text, error)) << error;
  return text;
}

// A game folder whose default pack has two media files, a level file and a pref.ini, and an
// empty folder for packs with the given mappacks.ini (none when list is null).
struct Folders {
  std::string game, packs;
  explicit Folders(const std::string& name, const char* list = "mappack1") {
    const fs::path root = fs::path(::testing::TempDir()) / ("packs_" + name);
    fs::remove_all(root);
    game = (root / "game").string();
    packs = (root / "packs").string();
    fs::create_directories(game + "/mappack1");
    fs::create_directories(packs);
    std::ofstream(game + "/mappack1/lndscp02.tga") << "picture";
    std::ofstream(game + "/mappack1/level01.mp3") << "song";
    std::ofstream(game + "/mappack1/level01.dat") << "not media";
    std::ofstream(game + "/mappack1/pref.ini") << "levelCount\n1\n";
    std::ofstream(game + "/mappack1/levels.ini") << "[level01]\nname=Not media\n";
    if (list != nullptr) std::ofstream(packs + "/mappacks.ini", std::ios::binary) << list;
  }
};

LevelVerdict decide(const Source& source) {
  LevelSource level;
  std::string error;
  EXPECT_TRUE(parseSource(source.str(), level, error)) << error;
  return decideLevel(level, CheckOptions{});
}

TEST(PackNew, MakesTheFolderCopiesTheMediaAndListsThePackOnce) {
  const Folders folders("new");
  const std::string dir = folders.packs + "/mine";
  std::string error;
  ASSERT_TRUE(createPack(dir, folders.game, error)) << error;
  EXPECT_EQ(readAll(dir + "/pref.ini"), "levelCount\n0\n");
  EXPECT_EQ(readAll(dir + "/lndscp02.tga"), "picture");
  EXPECT_EQ(readAll(dir + "/level01.mp3"), "song");
  EXPECT_FALSE(fs::exists(dir + "/level01.dat"));
  EXPECT_EQ(readAll(folders.packs + "/mappacks.ini"), "mappack1\nmine");
  EXPECT_FALSE(createPack(dir, folders.game, error));
  EXPECT_NE(error.find("already a pack"), std::string::npos) << error;
  EXPECT_EQ(packMediaFiles(folders.game),
            (std::vector<std::string>{"level01.mp3", "lndscp02.tga"}));

  // The list's last line break, a missing list and an empty list leave no empty entry.
  for (const auto& [list, expected] : std::vector<std::pair<const char*, std::string>>{
           {"a\nb\n", "a\nb\nmine"}, {nullptr, "mine"}, {"", "mine"}, {"mine\nx", "mine\nx"}}) {
    const Folders other("list", list);
    ASSERT_TRUE(createPack(other.packs + "/mine/", other.game, error)) << error;
    EXPECT_EQ(readAll(other.packs + "/mappacks.ini"), expected) << (list ? list : "(none)");
  }
  const Folders noMedia("nomedia");
  fs::remove_all(noMedia.game);
  EXPECT_FALSE(createPack(noMedia.packs + "/p", noMedia.game, error));
  EXPECT_NE(error.find("--data"), std::string::npos) << error;
}

TEST(PackAdd, OnlyProvenLevelsGoInAndPrefIniFollows) {
  const Folders folders("add");
  const std::string dir = folders.packs + "/mine";
  std::string error;
  int number = 0;
  LevelSource level;
  LevelVerdict proven;
  proven.verdict = Verdict::Proven;
  EXPECT_FALSE(addToPack(dir, level, {}, proven, "", number, error));
  EXPECT_NE(error.find("pack new"), std::string::npos) << error;
  ASSERT_TRUE(createPack(dir, folders.game, error)) << error;

  ASSERT_TRUE(parseSource(Source::needingAPillar().str(), level, error)) << error;
  proven = decideLevel(level, CheckOptions{});
  ASSERT_TRUE(addToPack(dir, level, {}, proven, "", number, error)) << error;
  EXPECT_EQ(number, 1);
  EXPECT_EQ(readAll(dir + "/level01.dat"), writeDat(level));
  ASSERT_TRUE(addToPack(dir, level, {}, proven, "", number, error)) << error;
  EXPECT_EQ(number, 2);
  EXPECT_EQ(readAll(dir + "/pref.ini"), "levelCount\n2\n");
  EXPECT_EQ(packLevelCount(dir), 2);

  EXPECT_FALSE(addToPack(dir, level, {}, decide(Source{}), "", number, error));
  EXPECT_EQ(error.rfind("refused: won by straight drops", 0), 0u) << error;
  EXPECT_FALSE(fs::exists(dir + "/level03.dat"));
  EXPECT_EQ(packLevelCount(dir), 2);
}

TEST(PackCheck, NamesEveryKindOfProblem) {
  const Folders folders("check");
  const std::string dir = folders.packs + "/mine";
  std::string error;
  ASSERT_TRUE(createPack(dir, folders.game, error)) << error;
  LevelSource level;
  ASSERT_TRUE(parseSource(Source::needingAPillar().str(), level, error)) << error;
  int number = 0;
  ASSERT_TRUE(addToPack(dir, level, {}, decideLevel(level, CheckOptions{}), "", number, error));
  std::ostringstream ready;
  EXPECT_EQ(checkPack(dir, folders.game, CheckOptions{}, ready), 0) << ready.str();
  EXPECT_EQ(ready.str().rfind(dir + "/level01.dat: proven: ", 0), 0u) << ready.str();

  fs::remove(dir + "/lndscp02.tga");
  std::ofstream(dir + "/pref.ini") << "levelCount\n3\n";
  std::ofstream(folders.packs + "/mappacks.ini") << "mappack1";
  ASSERT_TRUE(parseSource(Source{}.str(), level, error));
  ASSERT_TRUE(mdx::base::writeFileSafely(dir + "/level02.dat", writeDat(level), error));
  std::ostringstream out;
  EXPECT_EQ(checkPack(dir, folders.game, CheckOptions{}, out), 4) << out.str();
  for (const std::string& expected :
       {dir + ": pref.ini says the last level is 3, but the levels in the folder run from 1 to 2",
        dir + "/level02.dat: won by straight drops", dir + ": lndscp02.tga is missing",
        dir + ": not listed in " + folders.packs + "/mappacks.ini (add a line: mine)"}) {
    EXPECT_NE(out.str().find(expected), std::string::npos) << expected << "\n" << out.str();
  }
}

// The findings come as data the editor can open: a warning and a lost level's robot point
// at their cells in their level, a pack-wide problem at no level.
TEST(PackCheck, FindingsNameTheirLevelAndCell) {
  const Folders folders("findings");
  const std::string dir = folders.packs + "/mine";
  std::string error;
  ASSERT_TRUE(createPack(dir, folders.game, error)) << error;
  Source twoExits = Source::needingAPillar();
  twoExits.devices[19][33] = 'E';
  Source walled;
  for (int r = 0; r < 20; ++r) walled.blocks[r][9] = 'g';  // the robot stops at (19, 8)
  int number = 1;
  for (const Source& source : {twoExits, walled}) {
    LevelSource level;
    ASSERT_TRUE(parseSource(source.str(), level, error)) << error;
    ASSERT_TRUE(mdx::base::writeFileSafely(packSourcePath(dir, number), source.str(), error));
    ASSERT_TRUE(mdx::base::writeFileSafely(packLevelPath(dir, number++), writeDat(level), error));
  }
  fs::remove(dir + "/pref.ini");
  const PackFinding* second = nullptr;
  const PackFinding* lost = nullptr;
  const PackFinding* noPref = nullptr;
  const std::vector<PackFinding> found = packFindings(dir, folders.game, CheckOptions{});
  for (const PackFinding& finding : found) {
    if (finding.text.find("a second exit") != std::string::npos) second = &finding;
    if (finding.text.find("not winnable") != std::string::npos) lost = &finding;
    if (finding.text.find("pref.ini is missing") != std::string::npos) noPref = &finding;
  }
  ASSERT_TRUE(noPref);
  EXPECT_EQ(noPref->level, 0);
  EXPECT_EQ(noPref->cell, -1);
  ASSERT_TRUE(second && lost);
  EXPECT_EQ(second->level, 1);
  EXPECT_EQ(second->cell, world::cellIndex(19, 33));
  EXPECT_FALSE(second->problem) << "counted once, in its level's verdict";
  EXPECT_EQ(lost->level, 2);
  EXPECT_EQ(lost->cell, world::cellIndex(19, 8));
  EXPECT_TRUE(lost->problem);
  EXPECT_NE(lost->detail.find("the furthest the robot gets"), std::string::npos);
}

int runPack(std::vector<std::string> args, std::string& out, std::string& err) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  std::ostringstream o, e;
  const int code = packCommand(static_cast<int>(argv.size()), argv.data(), o, e);
  out = o.str();
  err = e.str();
  return code;
}

// What pack check would call a problem, pack add refuses; and check names the lines of the
// source kept beside a level file, each path once.
TEST(PackAdd, RefusesWhatPackCheckRefuses) {
  const Folders folders("same");
  const std::string dir = folders.packs + "/mine";
  std::string out, err;
  ASSERT_EQ(runPack({"new", dir, "--data", folders.game}, out, err), 0) << err;
  Source tooMany = Source::needingAPillar();
  tooMany.header += "pieceCount 11\n";
  const std::string tooManyPath = tooMany.write("pack_eleven.src");
  EXPECT_EQ(runPack({"add", dir, tooManyPath}, out, err), 1);
  EXPECT_NE(err.find(": refused: pieceCount 11 is outside 0 to 10"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(dir + "/level01.dat"));
  EXPECT_EQ(packLevelCount(dir), 0);

  const std::string pitPath = Source::needingAPillar().write("pack_pit2.src");
  ASSERT_EQ(runPack({"add", dir, pitPath}, out, err), 0) << err;
  EXPECT_EQ(readAll(dir + "/level01.src"), readAll(pitPath));
  // The level as a hand-copied pair would have it: check finds what add refused.
  std::string error;
  ASSERT_TRUE(base::writeFileSafely(dir + "/level01.src", tooMany.str(), error));
  LevelSource level;
  ASSERT_TRUE(parseSource(tooMany.str(), level, error)) << error;
  ASSERT_TRUE(base::writeFileSafely(dir + "/level01.dat", writeDat(level), error));
  EXPECT_EQ(runPack({"check", dir, "--data", folders.game}, out, err), 1) << out;
  EXPECT_NE(out.find(dir + "/level01.src:8:1: warning: pieceCount 11 is outside 0 to 10"),
            std::string::npos)
      << out;
  for (const base::Line& line : base::splitLines(out)) {
    EXPECT_EQ(line.text.find(dir, 1), std::string::npos) << line.text;
  }

  ASSERT_TRUE(base::writeFileSafely(dir + "/level01.dat", writeDat(LevelSource{}), error));
  runPack({"check", dir, "--data", folders.game}, out, err);
  EXPECT_NE(out.find(dir + "/level01.dat: not built from " + dir + "/level01.src"),
            std::string::npos)
      << out;
}

// A count the game cannot read as a number is named as such, not as a last level of 0.
TEST(PackCheck, ACountThatIsNoNumberIsNamed) {
  const Folders folders("three");
  const std::string dir = folders.packs + "/mine";
  std::string out, err;
  ASSERT_EQ(runPack({"new", dir, "--data", folders.game}, out, err), 0) << err;
  ASSERT_EQ(runPack({"add", dir, Source::needingAPillar().write("pack_pit3.src")}, out, err), 0);
  for (const char* count : {"three", "3 levels", ""}) {
    std::ofstream(dir + "/pref.ini") << "levelCount\n" << count << "\n";
    EXPECT_EQ(runPack({"check", dir, "--data", folders.game}, out, err), 1);
    EXPECT_NE(out.find(dir + ": pref.ini's count \"" + count + "\" is not a number"),
              std::string::npos)
        << out;
  }
  std::ofstream(dir + "/pref.ini") << "levelCount\n 1\r\n";
  EXPECT_EQ(runPack({"check", dir, "--data", folders.game}, out, err), 0) << out;
}

// A level's name, idea and hint travel from its source into the pack's words file, where the
// game, stats and the pack check read them; a broken words file is reported, not rewritten.
TEST(PackWords, AddedLevelsCarryTheirWordsAndTheCheckReadsThem) {
  const Folders folders("words");
  const std::string dir = folders.packs + "/mine";
  std::string error;
  ASSERT_TRUE(createPack(dir, folders.game, error)) << error;
  LevelSource level;
  ASSERT_TRUE(parseSource(Source::needingAPillar().str(), level, error)) << error;
  const LevelVerdict proven = decideLevel(level, CheckOptions{});
  int number = 0;
  ASSERT_TRUE(addToPack(dir, level, {}, proven, "", number, error)) << error;
  EXPECT_FALSE(fs::exists(packMetaPath(dir))) << "no words, no file";
  level.meta = {"The pit", "One pillar, one pit.", "Steer before it lands."};
  ASSERT_TRUE(addToPack(dir, level, {}, proven, "", number, error)) << error;
  EXPECT_EQ(levelMetaOf(packLevelPath(dir, 2)), level.meta);
  EXPECT_TRUE(levelMetaOf(packLevelPath(dir, 1)).empty());
  std::ostringstream ready;
  EXPECT_EQ(checkPack(dir, folders.game, CheckOptions{}, ready), 0) << ready.str();

  std::ofstream(packMetaPath(dir), std::ios::app) << "[level02]\nhint\n[level05]\nname=Gone\n";
  std::ostringstream out;
  EXPECT_EQ(checkPack(dir, folders.game, CheckOptions{}, out), 2) << out.str();
  EXPECT_NE(out.str().find("levels.ini:7: a line reads"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("words for level 5, but the pack ends at level 2"), std::string::npos);
  const std::string before = readAll(packMetaPath(dir));
  EXPECT_FALSE(addToPack(dir, level, {}, proven, "", number, error));
  EXPECT_NE(error.find("levels.ini:7"), std::string::npos) << error;
  EXPECT_EQ(readAll(packMetaPath(dir)), before);
  EXPECT_FALSE(fs::exists(packLevelPath(dir, 3)));
}

TEST(PackWords, MetaWritesTheWordsOfSourcesInLevelOrder) {
  const Folders folders("meta");
  const std::string dir = folders.packs + "/built";
  Source first = Source::needingAPillar(), second;
  first.header = "name First\n" + first.header;
  second.header = "hint Look down.\n" + second.header;
  std::string out, err;
  EXPECT_EQ(runPack({"meta", dir, first.write("meta_1.src"), second.write("meta_2.src")}, out, err),
            0)
      << err;
  EXPECT_EQ(readAll(packMetaPath(dir)),
            "# The names, ideas and hints of this pack's levels.\n"
            "[level01]\nname=First\n[level02]\nhint=Look down.\n");
  EXPECT_EQ(runPack({"meta", dir, folders.packs + "/none.src"}, out, err), 1);

  // The pack's own name: written with --title, kept by a later run without it and by pack add,
  // refused (nothing written) when it does not fit.
  const std::string source = first.write("meta_1.src");
  EXPECT_EQ(runPack({"meta", dir, source, "--title", "Fire and Ice"}, out, err), 0) << err;
  EXPECT_EQ(world::readPackMeta(packMetaPath(dir)).packName, "Fire and Ice");
  EXPECT_EQ(runPack({"meta", dir, source}, out, err), 0) << err;
  EXPECT_EQ(world::readPackMeta(packMetaPath(dir)).packName, "Fire and Ice");
  EXPECT_EQ(runPack({"meta", dir, source, "--title", std::string(33, 'n')}, out, err), 1);
  EXPECT_EQ(world::readPackMeta(packMetaPath(dir)).packName, "Fire and Ice");
  std::ofstream(dir + "/pref.ini") << "levelCount\n1\n";
  LevelSource level;
  std::string error;
  ASSERT_TRUE(parseSource(Source::needingAPillar().str(), level, error)) << error;
  int number = 0;
  ASSERT_TRUE(addToPack(dir, level, {}, decideLevel(level, CheckOptions{}), "", number, error))
      << error;
  EXPECT_EQ(world::readPackMeta(packMetaPath(dir)).packName, "Fire and Ice");
}

TEST(PackCommand, ExitCodesForEachVerb) {
  const Folders folders("command");
  const std::string dir = folders.packs + "/cmd";
  std::string out, err;
  EXPECT_EQ(runPack({"new", dir, "--data", folders.game}, out, err), 0) << err;
  EXPECT_EQ(runPack({"add", dir, Source::needingAPillar().write("pack_pit.src")}, out, err), 0)
      << err;
  EXPECT_NE(out.find("pref.ini now ends at level 1"), std::string::npos) << out;
  EXPECT_EQ(runPack({"add", dir, Source{}.write("pack_straight.src")}, out, err), 1);
  EXPECT_NE(err.find("refused: won by straight drops"), std::string::npos) << err;
  EXPECT_EQ(runPack({"check", dir, "--data", folders.game}, out, err), 0) << out;
  EXPECT_NE(out.find(dir + ": ready"), std::string::npos) << out;
  for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                              {"new"},
                                              {"add", dir},
                                              {"check", dir, "--budget", "x"},
                                              {"remove", dir},
                                              {"check", dir, "--fast"}}) {
    EXPECT_EQ(runPack(bad, out, err), 2) << (bad.empty() ? "" : bad[0]);
  }
}

// Without --data the tools take the folder the game's own search takes, and say why they
// passed over a folder the user named.
TEST(FindGameDir, TheOptionWinsElseTheGamesDataSearchDecides) {
  const Folders folders("find", nullptr);
  std::ofstream(folders.game + "/mappacks.ini") << "mappack1";
  const std::string dataDirs = (fs::path(folders.packs).parent_path() / "share").string();
  const ScopedEnv xdg("XDG_DATA_DIRS", dataDirs);
  std::ostringstream err;
  {
    const ScopedEnv data("MARVOLEN_DATA", folders.game);
    EXPECT_EQ(findGameDir("", err), folders.game);
    EXPECT_EQ(findGameDir("/named/by/option", err), "/named/by/option");
    EXPECT_EQ(err.str(), "");
  }
  const ScopedEnv data("MARVOLEN_DATA", folders.packs);
  EXPECT_EQ(findGameDir("", err), "");
  EXPECT_NE(err.str().find(folders.packs + " (holds no mappacks.ini)"), std::string::npos)
      << err.str();
  EXPECT_NE(err.str().find("--data DIR"), std::string::npos) << err.str();

  const std::string installed = dataDirs + "/games/marvolen-dx";
  fs::create_directories(installed);
  std::ofstream(installed + "/mappacks.ini") << "mappack1";
  err.str("");
  EXPECT_EQ(findGameDir("", err), installed);
  EXPECT_EQ(err.str(), "MARVOLEN_DATA \"" + folders.packs + "\" holds no mappacks.ini; using \"" +
                           installed + "\"\n");
}

}  // namespace
}  // namespace mdx::level
