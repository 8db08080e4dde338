// Live proof on the worker thread, with restarts on edits, and the export and play-test packs
// that depend on its answer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "app/data_dirs.h"
#include "base/files.h"
#include "edit/edit_model.h"
#include "edit/game_runner.h"
#include "edit/pack_export.h"
#include "edit/path_preview.h"
#include "edit/proof.h"
#include "level/pack_commands.h"
#include "level/tool_commands.h"
#include "scoped_env.h"
#include "world/game_state.h"

namespace mdx::edit {
namespace {

namespace fs = std::filesystem;

// A floor across row 21, the robot at row 20 column 2 and an exit at column 10 of its row.
level::LevelSource walkToExit() {
  level::LevelSource level;
  for (int column = 0; column < world::kColumns; ++column) {
    level.blockLayer[world::cellIndex(21, column)] = 1;
  }
  level.blockLayer[world::cellIndex(20, 2)] = world::kRobot;
  level.deviceLayer[world::cellIndex(20, 10)] = world::kExit;
  return level;
}

// The same with a wall the robot cannot pass between it and the exit.
level::LevelSource walledOff() {
  level::LevelSource level = walkToExit();
  for (int row = 0; row < 21; ++row) level.blockLayer[world::cellIndex(row, 6)] = 1;
  return level;
}

level::LevelSource shipped(const std::string& name) {
  level::LevelSource level;
  std::string error;
  EXPECT_TRUE(level::loadLevel(MDX_SOURCE_DIR "/levels/mappack1/" + name, level, error)) << error;
  return level;
}

TEST(EditProof, DecidesWinnableUnwinnableAndStraightDrops) {
  const ProofStatus straight = decideProof(walkToExit(), 5.0);
  EXPECT_EQ(straight.state, ProofState::StraightDrops);
  EXPECT_EQ(describeProof(straight), "won by dropping every piece straight down");

  const ProofStatus walled = decideProof(walledOff(), 5.0);
  EXPECT_EQ(walled.state, ProofState::NotWinnable);
  EXPECT_EQ(describeProof(walled), "not winnable");

  const ProofStatus first = decideProof(shipped("level01.src"), 5.0);
  ASSERT_EQ(first.state, ProofState::Winnable);
  ASSERT_TRUE(first.verdict && first.start);
  const int steps = first.verdict->worldSteps;
  EXPECT_GT(steps, 0);
  EXPECT_EQ(
      describeProof(first).rfind("winnable in " + std::to_string(steps) + " world steps (", 0), 0u);
}

TEST(EditProof, AnEditDuringASearchNeverShowsTheOldAnswer) {
  ProofWorker worker(5.0);
  EXPECT_EQ(worker.status().state, ProofState::Searching);
  worker.submit(1, shipped("level01.src"));
  worker.submit(2, walledOff());
  // Every status from now on belongs to revision 2: searching, then its own answer.
  for (;;) {
    const ProofStatus now = worker.status();
    ASSERT_EQ(now.revision, 2u);
    ASSERT_NE(now.state, ProofState::Winnable);
    if (now.state != ProofState::Searching) break;
    usleep(1000);
  }
  EXPECT_EQ(worker.wait().state, ProofState::NotWinnable);
  worker.submit(3, shipped("level01.src"));
  const ProofStatus answer = worker.wait();
  EXPECT_EQ(answer.revision, 3u);
  EXPECT_EQ(answer.state, ProofState::Winnable);
}

TEST(EditProof, ALevelDecidedBeforeIsAnsweredAtOnce) {
  ProofWorker worker(5.0);
  worker.submit(1, shipped("level01.src"));
  const ProofStatus first = worker.wait();
  ASSERT_EQ(first.state, ProofState::Winnable);
  worker.submit(2, walledOff());
  ASSERT_EQ(worker.wait().state, ProofState::NotWinnable);
  worker.submit(3, shipped("level01.src"));  // an undo back to the first level
  const ProofStatus now = worker.status();
  EXPECT_EQ(now.revision, 3u);
  EXPECT_EQ(now.state, ProofState::Winnable);
  EXPECT_EQ(now.verdict, first.verdict);  // the remembered answer, not a new search
  level::LevelSource edited = shipped("level01.src");
  edited.deviceLayer[world::cellIndex(1, 0)] = world::kBomb;
  worker.submit(4, edited);  // a level never seen: searched afresh
  // A small level may be decided before status() is even asked, so the fresh search shows in
  // a verdict of its own rather than in a Searching status.
  const ProofStatus fresh = worker.wait();
  EXPECT_EQ(fresh.revision, 4u);
  ASSERT_TRUE(fresh.verdict);
  EXPECT_NE(fresh.verdict, first.verdict);
}

TEST(EditProof, TheBudgetEndsAHopelessSearchUndecided) {
  // Ten pieces over a wide walled-off field: far too much to search in a moment.
  level::LevelSource level = walledOff();
  level.pieceCount = 10;
  for (int i = 0; i < 10; ++i) level.pieceTypes[i] = 1 + i % 5;
  const ProofStatus status = decideProof(level, 0.05);
  if (status.state == ProofState::Undecided) {
    EXPECT_EQ(describeProof(status), "undecided after 0.05 s");
  } else {
    EXPECT_EQ(status.state, ProofState::NotWinnable);  // a machine fast enough to finish
  }
}

TEST(EditPathPreview, ReplaysTheSolutionStepByStep) {
  const ProofStatus proof = decideProof(shipped("level01.src"), 5.0);
  const PathPreview preview = makePathPreview(proof);
  ASSERT_TRUE(preview.valid);
  // The pillar fills the hole in the grass: its cells are the ghosts.
  EXPECT_FALSE(preview.ghostCells.empty());
  for (int k : preview.ghostCells) {
    EXPECT_EQ(proof.start->world.blockLayer[k], 0);
    EXPECT_NE(preview.placed.world.blockLayer[k], 0);
  }
  ASSERT_EQ(preview.robotCells.size(), static_cast<size_t>(preview.worldSteps) + 1);
  const world::GameState first = worldAtStep(preview, 0);
  EXPECT_EQ(world::cellIndex(first.world.robotRow, first.world.robotColumn),
            preview.robotCells.front());
  EXPECT_EQ(first.world.levelComplete, 0);
  const world::GameState middle = worldAtStep(preview, preview.worldSteps / 2);
  EXPECT_EQ(world::cellIndex(middle.world.robotRow, middle.world.robotColumn),
            preview.robotCells[static_cast<size_t>(preview.worldSteps / 2)]);
  EXPECT_EQ(worldAtStep(preview, preview.worldSteps).world.levelComplete, 1);
}

TEST(EditPathPreview, ShownForStraightDropWinsAndNotForLostLevels) {
  const PathPreview straight = makePathPreview(decideProof(walkToExit(), 5.0));
  ASSERT_TRUE(straight.valid);
  EXPECT_TRUE(straight.ghostCells.empty());
  EXPECT_EQ(straight.robotCells.front(), world::cellIndex(20, 2));
  EXPECT_EQ(straight.robotCells.back(), world::cellIndex(20, 10));
}

// For a level that cannot be won the preview is the furthest try: its piece and the robot's
// walk up to the wall, where the panel's explanation says it stands.
TEST(EditPathPreview, ShowsTheFurthestTryOfALostLevel) {
  level::LevelSource level = walledOff();
  level.pieceCount = 1;
  level.pieceTypes[0] = 2;  // a pillar: no help against the wall
  const ProofStatus lost = decideProof(level, 5.0);
  ASSERT_EQ(lost.state, ProofState::NotWinnable);
  const PathPreview preview = makePathPreview(lost);
  ASSERT_TRUE(preview.valid);
  EXPECT_FALSE(preview.ghostCells.empty());
  EXPECT_EQ(preview.robotCells.front(), world::cellIndex(20, 2));
  EXPECT_EQ(preview.robotCells.back(), world::cellIndex(20, 5));
  const std::string why = level::explainVerdict(*lost.verdict);
  EXPECT_NE(why.find("the robot stands stuck at row 20, column 5"), std::string::npos) << why;
}

class EditPack : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string read(const std::string& name) {
    std::string text, error;
    mdx::base::readWholeFile(dir_ + "/" + name, text, error);
    return text;
  }
  const std::string dir_ =
      (fs::temp_directory_path() / ("mdx-edit-pack-" + std::to_string(getpid()))).string();
};

TEST_F(EditPack, ExportTakesOnlyACurrentProvenLevel) {
  const std::string pack = dir_ + "/mypack";
  // A game folder whose default pack has one picture: a new pack gets a copy.
  const std::string game = dir_ + "/game";
  fs::create_directories(game + "/mappack1");
  std::ofstream(game + "/mappack1/lndscp02.tga") << "picture";
  const struct {
    level::LevelSource level;
    const char* reason;
  } refused[] = {
      {walledOff(), "refused: not winnable"},
      {walkToExit(), "refused: won by straight drops"},
  };
  int number = 0;
  std::string error;
  for (const auto& [level, reason] : refused) {
    const ProofStatus proof = decideProof(level, 5.0);
    EXPECT_FALSE(exportToPack(level, proof, proof.revision, pack, game, number, error));
    EXPECT_EQ(error.rfind(reason, 0), 0u) << error;
  }
  // A refused level writes nothing at all: no pack folder, no media copies, no pack list.
  EXPECT_FALSE(fs::exists(pack));
  EXPECT_FALSE(fs::exists(dir_ + "/mappacks.ini"));

  const level::LevelSource level = shipped("level01.src");
  ProofStatus proof = decideProof(level, 5.0);
  proof.revision = 7;
  EXPECT_FALSE(exportToPack(level, proof, 8, pack, game, number, error));
  EXPECT_EQ(error, "the proof of this edit has not finished yet");
  ProofStatus searching;
  searching.revision = 7;
  EXPECT_EQ(exportRefusal(searching, 7), "the proof of this edit has not finished yet");

  ASSERT_TRUE(exportToPack(level, proof, 7, pack, game, number, error)) << error;
  EXPECT_EQ(number, 1);
  ASSERT_TRUE(exportToPack(level, proof, 7, pack, game, number, error)) << error;
  EXPECT_EQ(number, 2);
  EXPECT_EQ(read("mypack/level02.dat"), level::writeDat(level));
  EXPECT_EQ(read("mypack/level02.src"), level::writeSource(level));
  EXPECT_EQ(level::packLevelCount(pack), 2);
  EXPECT_EQ(read("mypack/lndscp02.tga"), "picture");
}

// Export's own folder is a pack among the player's packs: it needs no pack list, the game's
// catalogue lists it and its level starts as the edited level, and the pack check passes.
TEST_F(EditPack, ExportByDefaultMakesAPackTheGameLists) {
  const ScopedEnv dataHome("XDG_DATA_HOME", dir_ + "/data");
  const std::string game = dir_ + "/game";
  fs::create_directories(game + "/mappack1");
  std::ofstream(game + "/mappack1/lndscp02.tga") << "picture";
  std::ofstream(game + "/mappacks.ini") << "mappack1";
  const std::string players = dir_ + "/data/marvolen-dx/packs";
  ASSERT_EQ(defaultExportFolder(), players + "/mypack");

  const level::LevelSource level = shipped("level01.src");
  const ProofStatus proof = decideProof(level, 5.0);
  int number = 0;
  std::string error;
  ASSERT_TRUE(
      exportToPack(level, proof, proof.revision, defaultExportFolder(), game, number, error))
      << error;
  EXPECT_FALSE(fs::exists(players + "/mappacks.ini"));
  EXPECT_EQ(read("game/mappacks.ini"), "mappack1");

  const world::PackCatalog catalog = app::readGameCatalog(game);
  const world::CatalogPack* mine = catalog.find("mypack");
  ASSERT_NE(mine, nullptr);
  EXPECT_TRUE(mine->playersOwn);
  world::GameState played;
  played.pack = catalog.layout(*mine);
  EXPECT_TRUE(played.startLevel(1).complete());
  EXPECT_EQ(played.progress.levelCount, 1);
  EXPECT_EQ(played.world.blockLayer, startedGame(level).world.blockLayer);
  EXPECT_EQ(played.world.deviceLayer, startedGame(level).world.deviceLayer);

  std::ostringstream check;
  EXPECT_EQ(level::checkPack(defaultExportFolder(), game, level::CheckOptions{}, check), 0)
      << check.str();
}

// Saving a pack's level source in the editor rebuilds the level file the game plays, but only
// for a current proof that the pack takes; otherwise the old level file stays and the message
// says why. A source outside any pack is only saved.
TEST_F(EditPack, SavingAPackLevelRebuildsItsLevelFileOnlyWhenProven) {
  const std::string game = dir_ + "/game";
  fs::create_directories(game + "/mappack1");
  std::ofstream(game + "/mappack1/lndscp02.tga") << "picture";
  const std::string pack = dir_ + "/mypack";
  const level::LevelSource first = shipped("level01.src");
  int number = 0;
  std::string error;
  ASSERT_TRUE(exportToPack(first, decideProof(first, 5.0), 0, pack, game, number, error)) << error;

  EditModel model;
  const std::string source = pack + "/level01.src";
  ASSERT_TRUE(model.open(source, error)) << error;
  level::LevelSource edited = shipped("level02.src");
  edited.meta.name = "Second thoughts";
  ASSERT_TRUE(model.replaceLevel(edited));
  ProofStatus proof = decideProof(model.level(), 5.0);
  proof.revision = model.revision();
  ASSERT_TRUE(model.save(error)) << error;
  EXPECT_EQ(rebuildSavedPackLevel(source, model.level(), proof, proof.revision),
            "saved " + source + "; rebuilt level01.dat");
  world::GameState played;
  played.pack = world::PackLayout{game, pack};
  ASSERT_TRUE(played.startLevel(1).complete());
  EXPECT_EQ(played.world.blockLayer, startedGame(edited).world.blockLayer);
  EXPECT_EQ(level::levelMetaOf(pack + "/level01.dat").name, "Second thoughts");
  std::ostringstream check;
  EXPECT_EQ(level::checkPack(pack, game, level::CheckOptions{}, check), 0) << check.str();

  // A proof of an earlier revision, and a proven-unwinnable edit, leave the level file as it is.
  const std::string before = read("mypack/level01.dat");
  ASSERT_TRUE(model.replaceLevel(walledOff()));
  EXPECT_EQ(rebuildSavedPackLevel(source, model.level(), proof, model.revision()),
            "saved " + source +
                "; the pack still plays the old level01.dat: the proof of this edit has not "
                "finished yet");
  proof = decideProof(model.level(), 5.0);
  const std::string said = rebuildSavedPackLevel(source, model.level(), proof, proof.revision);
  EXPECT_EQ(said.rfind("saved " + source +
                           "; the pack still plays the old level01.dat: not "
                           "winnable",
                       0),
            0u)
      << said;
  EXPECT_EQ(read("mypack/level01.dat"), before);

  // Sources that are no level of the pack: a loose file, and a level number pref.ini lacks.
  EXPECT_EQ(rebuildSavedPackLevel(dir_ + "/loose.src", edited, proof, proof.revision),
            "saved " + dir_ + "/loose.src");
  EXPECT_EQ(rebuildSavedPackLevel(pack + "/level02.src", edited, proof, proof.revision),
            "saved " + pack + "/level02.src");
  EXPECT_FALSE(fs::exists(pack + "/level02.dat"));
}

// The share menu's way: the open level's pack, written as one file, installs among another
// player's packs as the same levels; a folder that is no pack writes no file.
TEST_F(EditPack, APackSharedAsOneFileInstallsAmongThePlayersPacks) {
  const std::string game = dir_ + "/game";
  fs::create_directories(game + "/mappack1");
  std::ofstream(game + "/mappack1/lndscp02.tga") << "picture";
  const std::string pack = dir_ + "/work/mypack";
  const level::LevelSource level = shipped("level01.src");
  const ProofStatus proof = decideProof(level, 5.0);
  int number = 0;
  std::string error;
  ASSERT_TRUE(exportToPack(level, proof, proof.revision, pack, game, number, error)) << error;
  EXPECT_EQ(packFolderOf(pack + "/level01.src"), pack);
  EXPECT_EQ(packFolderOf(dir_ + "/work/loose.src"), "");
  EXPECT_EQ(packFolderOf(""), "");
  EXPECT_EQ(packFileFor(pack + "/", dir_), dir_ + "/mypack.mdxpack");
  EXPECT_EQ(packFileFor("/", dir_), "");

  std::string message;
  EXPECT_FALSE(exportPackFile(dir_ + "/work", dir_ + "/work.mdxpack", game, message));
  EXPECT_EQ(message.rfind("pack export refused: ", 0), 0u) << message;
  EXPECT_FALSE(fs::exists(dir_ + "/work.mdxpack"));
  const std::string file = packFileFor(pack, dir_);
  ASSERT_TRUE(exportPackFile(pack, file, game, message)) << message;
  EXPECT_EQ(message, "pack written as " + file);

  const ScopedEnv dataHome("XDG_DATA_HOME", dir_ + "/data");
  const level::PackInstall installed = importPackFile(file, game);
  ASSERT_TRUE(installed.installed) << installed.message;
  EXPECT_EQ(installed.packName, "mypack");
  EXPECT_EQ(read("data/marvolen-dx/packs/mypack/level01.dat"), level::writeDat(level));
  // The same name again is refused, and the installed pack stays as it was.
  const level::PackInstall again = importPackFile(file, game);
  EXPECT_FALSE(again.installed);
  EXPECT_NE(again.message.find("not installed"), std::string::npos) << again.message;
  EXPECT_EQ(read("data/marvolen-dx/packs/mypack/level01.dat"), level::writeDat(level));
}

TEST_F(EditPack, PlayTestPackHoldsTheLevelAndLinksThePackMedia) {
  fs::create_directories(dir_ + "/mappack1");
  std::ofstream(dir_ + "/mappack1/lndscp02.tga") << "picture";
  std::ofstream(dir_ + "/mappack1/level01.dat") << "not this one";
  const level::LevelSource level = walkToExit();
  std::string error;
  const std::string pack = makePlayTestPack(level, dir_, error);
  ASSERT_FALSE(pack.empty()) << error;
  std::string text;
  ASSERT_TRUE(mdx::base::readWholeFile(pack + "/level01.dat", text, error));
  EXPECT_EQ(text, level::writeDat(level));
  ASSERT_TRUE(mdx::base::readWholeFile(pack + "/pref.ini", text, error));
  EXPECT_EQ(text, "levelCount\n1\n");
  EXPECT_TRUE(fs::is_symlink(pack + "/lndscp02.tga"));
  fs::remove_all(pack);
}

TEST(EditPlayTest, TheRunnerReportsHowTheGameEnded) {
  GameRunner runner;
  std::promise<int> ended;
  std::string error;
  ASSERT_TRUE(runner.start(
      {"/bin/sh", "-c", "sleep 0.2; exit 3"}, [&](int status) { ended.set_value(status); }, error))
      << error;
  EXPECT_TRUE(runner.running());
  EXPECT_FALSE(runner.start({"/bin/true"}, {}, error));  // one game at a time
  EXPECT_EQ(error, "the game is already running");
  EXPECT_EQ(ended.get_future().get(), 3);
  EXPECT_FALSE(runner.start({"/no/such/game"}, {}, error));
  EXPECT_NE(error.find("/no/such/game"), std::string::npos);
}

}  // namespace
}  // namespace mdx::edit
