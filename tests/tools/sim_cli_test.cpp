// Runs the real marvolen-sim binary and checks its output and exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "program_run.h"
#include "sim/state_json.h"
#include "world/game_state.h"
#include "world/level_format.h"

namespace mdx::sim {
namespace {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the simulator with arguments; shell words in before (a cd, variables) come first.
RunResult runSim(const std::string& arguments, const std::string& before = "") {
  // One stderr file per test process: CTest runs the cases in parallel.
  const std::string errPath =
      ::testing::TempDir() + "sim_stderr_" + std::to_string(getpid()) + ".txt";
  const std::string command =
      before + std::string(MDX_SIM_BINARY) + " " + arguments + " 2>" + errPath;
  const testing::ProgramRun run = testing::runProgram(command);
  RunResult result{run.status, run.out, ""};
  std::ifstream err(errPath);
  result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  return result;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    result.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return result;
}

// The integer after "key": in a JSON line.
long long intValue(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\":");
  EXPECT_NE(at, std::string::npos) << key;
  if (at == std::string::npos) return -12345;
  return std::atoll(json.c_str() + at + key.size() + 3);
}

// The keys of the top-level object, in order.
std::vector<std::string> topLevelKeys(const std::string& json) {
  std::vector<std::string> keys;
  int depth = 0;
  bool inString = false;
  std::string current;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\') {
        current += json[++i];
      } else if (c == '"') {
        inString = false;
        if (depth == 1 && i + 1 < json.size() && json[i + 1] == ':') keys.push_back(current);
      } else {
        current += c;
      }
    } else if (c == '"') {
      inString = true;
      current.clear();
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return keys;
}

// A level file with the robot at (row, column) on a floor of blocks along row + 1.
std::string writeFloorLevel(const std::string& path, int row, int column) {
  world::LevelValues level;
  level.blockLayer[world::cellIndex(row, column)] = world::kRobot;
  for (int c = 0; c < world::kColumns; ++c) level.blockLayer[world::cellIndex(row + 1, c)] = 1;
  level.pieceCount = 1;
  level.pieceTypes.fill(2);
  level.landscapeChoice = level.parallax1On = level.parallax2Mode = level.levelMusic =
      level.landscapeMotion = 1;
  std::ofstream(path, std::ios::binary) << world::writeLevel(level);
  return path;
}

TEST(SimCli, BadArgumentsExitWith2AndAUsageLine) {
  const std::string level = writeFloorLevel(::testing::TempDir() + "sim_any.dat", 5, 5);
  for (const std::string& arguments :
       {std::string(""), "--file " + level + " --pack p --level 1", std::string("--pack p"),
        std::string("--level 3"), std::string("--pack p --level three"),
        "--file " + level + " --do wwz", "--file " + level + " --bogus",
        "--file " + level + " --level-number", "--file " + level + " --level-number 99999999999"}) {
    const RunResult result = runSim(arguments);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_TRUE(result.out.empty()) << arguments;
    EXPECT_NE(result.err.find("usage: marvolen-sim"), std::string::npos) << arguments;
  }
  EXPECT_NE(runSim("--file " + level + " --do lq").err.find("'q'"), std::string::npos);
  const RunResult noDir = runSim("--dir /no/such/folder --file x.dat");
  EXPECT_EQ(noDir.status, 2);
  EXPECT_NE(noDir.err.find("/no/such/folder"), std::string::npos);
}

TEST(SimCli, TracePrintsTheStateAfterStartAndEveryAction) {
  const std::string level = writeFloorLevel(::testing::TempDir() + "sim_floor.dat", 5, 30);
  const RunResult result = runSim("--file " + level + " --do wwwd --trace");
  ASSERT_EQ(result.status, 5) << result.err;  // the level goes on
  const std::vector<std::string> states = lines(result.out);
  ASSERT_EQ(states.size(), 5u);
  const std::vector<long long> columns = {30, 31, 32, 33, 33};
  for (std::size_t i = 0; i < states.size(); ++i) {
    EXPECT_EQ(intValue(states[i], "robotColumn"), columns[i]) << i;
    EXPECT_EQ(intValue(states[i], "levelNumber"), 1);
    EXPECT_EQ(intValue(states[i], "levelCount"), 32);  // pref.ini is not read for --file
  }
  EXPECT_EQ(intValue(states[1], "robotFrame"), 1);
  EXPECT_EQ(intValue(states[2], "robotFrame"), 0);
  EXPECT_EQ(intValue(states[4], "pieceRow"), 1);
  EXPECT_NE(states[4].find("\"sounds\":[\"media/run01.wav\",\"media/run01.wav\","
                           "\"media/run01.wav\",\"media/move.wav\"]"),
            std::string::npos);
  // Without --trace only the final state is printed, the same as the trace's last line.
  const RunResult last = runSim("--file " + level + " --do wwwd");
  EXPECT_EQ(last.out, states.back() + "\n");
}

// The numbers of a top-level array field ("blockLayer":[0,0,...]).
std::vector<long long> arrayValue(const std::string& json, const std::string& key) {
  std::vector<long long> values;
  std::size_t at = json.find("\"" + key + "\":[");
  if (at == std::string::npos) return values;
  at += key.size() + 4;
  for (const std::size_t end = json.find(']', at); at < end; at = json.find_first_of(",]", at) + 1)
    values.push_back(std::atoll(json.c_str() + at));
  return values;
}

TEST(SimCli, OutputNamesEachFieldOnceWithTheLoadedLevelsValues) {
  const std::string level = writeFloorLevel(::testing::TempDir() + "sim_keys.dat", 5, 7);
  const RunResult result = runSim("--file " + level);
  ASSERT_EQ(result.status, 5);
  const std::vector<std::string> keys = topLevelKeys(result.out);
  EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size());
  EXPECT_EQ(intValue(result.out, "robotRow"), 5);
  EXPECT_EQ(intValue(result.out, "robotColumn"), 7);
  EXPECT_EQ(intValue(result.out, "pieceCount"), 1);
  EXPECT_EQ(intValue(result.out, "levelNumber"), 1);
  EXPECT_EQ(intValue(result.out, "landscapeChoice"), 1);
  EXPECT_EQ(intValue(result.out, "levelMusic"), 1);
  for (const char* layer : {"blockLayer", "deviceLayer"}) {
    EXPECT_EQ(arrayValue(result.out, layer).size(), static_cast<std::size_t>(world::kCells));
  }
  const std::vector<long long> blocks = arrayValue(result.out, "blockLayer");
  ASSERT_EQ(blocks.size(), static_cast<std::size_t>(world::kCells));
  EXPECT_EQ(blocks[world::cellIndex(6, 0)], 1);  // the floor
  EXPECT_EQ(blocks[world::cellIndex(4, 7)], 0);  // the air above the robot
  EXPECT_EQ(arrayValue(result.out, "pieceTypes").front(), 2);
  EXPECT_NE(result.out.find("\"sounds\":[]"), std::string::npos);
  EXPECT_NE(result.out.find("\"messages\":[]"), std::string::npos);
  EXPECT_NE(result.out.find("\"pieceShape\":[0,30,0,0,5,0,0,5,0,0,48,0]"), std::string::npos);
}

TEST(SimCli, MissingLevelsExit1AndStillPrintTheGamesView) {
  const std::string absent = ::testing::TempDir() + "no-level.dat";
  const RunResult result = runSim("--file " + absent + " --level-number 99");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("\"messages\":[{\"caption\":\"Critical Error\","
                            "\"text\":\"Error opening file " +
                            absent + "\"}]"),
            std::string::npos);
  EXPECT_EQ(intValue(result.out, "levelMusic"), 99);
  EXPECT_EQ(intValue(result.out, "pieceCount"), 0);
  EXPECT_EQ(result.err, "marvolen-sim: " + absent + ": cannot open the level file\n");

  const std::string dir = ::testing::TempDir() + "simgame_missing";
  mkdir(dir.c_str(), 0755);
  mkdir((dir + "/pack").c_str(), 0755);
  const RunResult noPack = runSim("--dir " + dir + " --pack nopack --level 1");
  EXPECT_EQ(noPack.status, 1);
  EXPECT_EQ(noPack.err.rfind("marvolen-sim: pack 'nopack' not found in " + dir, 0), 0u)
      << noPack.err;
  EXPECT_EQ(lines(noPack.out).size(), 1u);
  const RunResult noLevel = runSim("--dir " + dir + " --pack pack --level 4 --do w");
  EXPECT_EQ(noLevel.status, 1);
  EXPECT_EQ(noLevel.err, "marvolen-sim: " + dir + "/pack/level04.dat: the pack has no level 4\n");
  EXPECT_NE(noLevel.out.find("Error opening file"), std::string::npos);
}

TEST(SimCli, LevelSourcesAreBuiltThroughTheLevelTools) {
  std::string source = "pieces\nchar block g 1\nblocks\n";
  for (int r = 0; r < 28; ++r) {
    std::string row(34, r >= 20 ? 'g' : '.');
    if (r == 19) row[6] = '@';
    source += row + "\n";
  }
  source += "devices\n";
  for (int r = 0; r < 28; ++r) source += std::string(34, '.') + "\n";
  const std::string path = ::testing::TempDir() + "sim_source.src";
  std::ofstream(path, std::ios::binary) << source;
  const RunResult result = runSim("--file " + path + " --do w");
  EXPECT_EQ(result.status, 5) << result.err;
  EXPECT_EQ(intValue(result.out, "robotColumn"), 7);
  EXPECT_EQ(intValue(result.out, "robotRow"), 19);

  std::ofstream(path, std::ios::binary) << source.substr(0, source.find("devices"));
  const RunResult broken = runSim("--file " + path);
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.out, "");
  EXPECT_EQ(broken.err.rfind("marvolen-sim: " + path + ":", 0), 0u) << broken.err;
  EXPECT_NE(broken.err.find("no devices map"), std::string::npos) << broken.err;
}

TEST(SimCli, HelpListsTheExitCodes) {
  const RunResult help = runSim("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* code : {"  0  ", "  1  ", "  2  ", "  3  ", "  4  ", "  5  "}) {
    EXPECT_NE(help.out.find(code), std::string::npos) << code;
  }
}

TEST(SimCli, PackModeReadsPrefIniRelativeToDir) {
  const std::string dir = ::testing::TempDir() + "simgame";
  mkdir(dir.c_str(), 0755);
  mkdir((dir + "/mypack").c_str(), 0755);
  std::ofstream(dir + "/mypack/pref.ini") << "levels\n7\n";
  writeFloorLevel(dir + "/mypack/level03.dat", 10, 4);
  const RunResult result = runSim("--dir " + dir + " --pack mypack --level 3 --do w");
  ASSERT_EQ(result.status, 5) << result.err;
  EXPECT_EQ(intValue(result.out, "levelCount"), 7);
  EXPECT_EQ(intValue(result.out, "levelNumber"), 3);
  EXPECT_EQ(intValue(result.out, "robotColumn"), 5);
  EXPECT_NE(result.out.find("\"messages\":[]"), std::string::npos);
}

// A recorded session plays headless to the whole game state (every step with --trace); one
// recorded with other level files is refused with the reason.
TEST(SimCli, ReplayPrintsTheGameStateOrSaysWhyNot) {
  const std::string dir = ::testing::TempDir() + "simgame_replay";
  mkdir(dir.c_str(), 0755);
  mkdir((dir + "/rpack").c_str(), 0755);
  std::ofstream(dir + "/rpack/pref.ini") << "levels\n1\n";
  writeFloorLevel(dir + "/rpack/level01.dat", 10, 4);
  const std::string session = "marvolen-replay 1\npack rpack\nstart 0\nframe 10 39\nframe 20\n";
  std::ofstream(dir + "/ok.replay") << session;
  const RunResult played = runSim("--dir " + dir + " --replay " + dir + "/ok.replay");
  ASSERT_EQ(played.status, 0) << played.err;
  ASSERT_EQ(lines(played.out).size(), 1u);
  EXPECT_EQ(intValue(played.out, "gameState"), 3);  // Space on the title started level 1
  EXPECT_NE(played.out.find("\"packName\":\"rpack\""), std::string::npos);
  // A relative replay is read from the working directory, not from --dir.
  EXPECT_EQ(lines(runSim("--dir " + dir + " --replay ok.replay --trace", "cd " + dir + " && ").out)
                .size(),
            3u);
  EXPECT_EQ(runSim("--dir " + dir + " --replay ok.replay", "cd / && ").status, 1);

  std::ofstream(dir + "/other.replay")
      << "marvolen-replay 1\npack rpack\npackhash 0000000000000000\n"
      << "start 0\n";
  const RunResult refused = runSim("--dir " + dir + " --replay " + dir + "/other.replay");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "marvolen-sim: " + dir +
                             "/other.replay: the level files of pack 'rpack' differ from "
                             "those the replay was recorded with\n");
  std::ofstream(dir + "/cut.replay") << "marvolen-replay 1\nframe";
  EXPECT_EQ(runSim("--dir " + dir + " --replay " + dir + "/cut.replay").status, 1);
  std::ofstream(dir + "/gone.replay") << "marvolen-replay 1\npack gone\nstart 0\n";
  const RunResult gone = runSim("--dir " + dir + " --replay " + dir + "/gone.replay");
  EXPECT_EQ(gone.status, 1);
  EXPECT_EQ(gone.err.rfind("marvolen-sim: pack 'gone' not found in " + dir, 0), 0u) << gone.err;
  EXPECT_EQ(runSim("--replay ok.replay --do w").status, 2);
}

// A level source with the robot on a floor of grass at row 19: robotRow is its blocks row and
// deviceRow its devices row (34 characters each); pieces names the pieces.
std::string floorSource(const std::string& name, const std::string& pieces,
                        const std::string& robotRow, const std::string& deviceRow) {
  const std::string air(34, '.'), grass(34, 'g');
  std::string source = "pieces " + pieces + "\nchar block g 1\nblocks\n";
  for (int r = 0; r < 28; ++r) source += (r < 19 ? air : r == 19 ? robotRow : grass) + "\n";
  source += "devices\n";
  for (int r = 0; r < 28; ++r) source += (r == 19 ? deviceRow : air) + "\n";
  const std::string path = ::testing::TempDir() + name + ".src";
  std::ofstream(path, std::ios::binary) << source;
  return path;
}

const std::string kRobotAt3 = "...@..............................";
const std::string kNoDevices(34, '.');

// Ticks alone carry a level to its end, and the exit status says which end it was.
TEST(SimCli, ExitStatusTellsWonExplodedStuckAndUnfinished) {
  const std::string exit10 =
      floorSource("sim_won", "", kRobotAt3, "..........E.......................");
  const std::string ticks(20, 't');
  const RunResult won = runSim("--file " + exit10 + " --do " + ticks);
  EXPECT_EQ(won.status, 0) << won.err;
  EXPECT_EQ(intValue(won.out, "levelComplete"), 1);
  EXPECT_NE(won.err.find("reached the exit at action 7"), std::string::npos) << won.err;
  EXPECT_NE(won.err.find("the 13 action(s) after that were not performed"), std::string::npos);

  const RunResult unfinished = runSim("--file " + exit10 + " --do ttt");
  EXPECT_EQ(unfinished.status, 5);
  EXPECT_EQ(intValue(unfinished.out, "robotColumn"), 6);
  EXPECT_NE(unfinished.err.find("ran out with the robot still running"), std::string::npos);

  // Walls two cells left and seven right: the robot walks into the right one and stays.
  const std::string walled =
      floorSource("sim_stuck", "", "..g@......g.......................", kNoDevices);
  const RunResult stuck = runSim("--file " + walled + " --do " + ticks);
  EXPECT_EQ(stuck.status, 4);
  EXPECT_EQ(intValue(stuck.out, "robotColumn"), 9);
  EXPECT_NE(stuck.err.find("can no longer reach the exit"), std::string::npos) << stuck.err;

  const std::string bomb =
      floorSource("sim_bomb", "", kRobotAt3, "..........X.......................");
  EXPECT_EQ(runSim("--file " + bomb + " --do " + ticks).status, 3);
}

// After the robot blows up, world steps alone play the explosion and the flight out and the
// level starts again: the game would not stay exploded for ever.
TEST(SimCli, ABlowUpEndsAndRestartsTheLevelWithWorldStepsAlone) {
  const std::string bomb =
      floorSource("sim_blowup", "", kRobotAt3, "..........X.......................");
  const RunResult result = runSim("--file " + bomb + " --trace --do " + std::string(12, 'w'));
  EXPECT_EQ(result.status, 3) << result.err;
  const std::vector<std::string> states = lines(result.out);
  ASSERT_EQ(states.size(), 10u);  // the start, 8 world steps, the restart
  EXPECT_EQ(intValue(states[8], "robotExploded"), 1);
  EXPECT_EQ(intValue(states[8], "robotColumn"), 10);
  for (const char* key : {"robotExploded", "explosionTicks"})
    EXPECT_EQ(intValue(states[9], key), 0);
  EXPECT_EQ(intValue(states[9], "robotColumn"), 3);
  EXPECT_NE(result.err.find("exploded at action 8, world step 8, at row 19, column 10"),
            std::string::npos)
      << result.err;
}

// A hard drop ends the falling piece and leaves the next one where the landing drop leaves it
// in the game; a hard drop with no piece left does nothing and says so.
TEST(SimCli, AHardDropEndsOnlyTheFallingPiece) {
  const std::string level = floorSource("sim_drops", "pillar pillar", kRobotAt3, kNoDevices);
  const std::vector<std::string> drops =
      lines(runSim("--file " + level + " --trace --do " + std::string(40, 'd')).out);
  std::size_t landing = 1;
  while (landing < drops.size() && intValue(drops[landing], "pieceIndex") == 0) ++landing;
  ASSERT_LT(landing, drops.size());
  const RunResult hard = runSim("--file " + level + " --do h");
  EXPECT_EQ(hard.status, 5);
  EXPECT_EQ(hard.out, drops[landing] + "\n");  // the same drops, and not one more
  EXPECT_EQ(intValue(hard.out, "pieceIndex"), 1);
  EXPECT_EQ(intValue(hard.out, "pieceColumn"), 15);
  EXPECT_LE(intValue(hard.out, "pieceRow"), 1);
  EXPECT_NE(hard.err.find("while piece 2 of 2 was falling"), std::string::npos) << hard.err;

  const RunResult extra = runSim("--file " + level + " --do hhhd");
  EXPECT_EQ(intValue(extra.out, "pieceIndex"), 2);
  EXPECT_NE(extra.err.find("2 piece action(s) found no piece left to fall and did nothing, "
                           "the first action 3 (h)"),
            std::string::npos)
      << extra.err;
}

// A piece that blows up a bomb: the hard drop lets the explosion play out before the next
// piece, and after the last piece the ticks carry it on beside the robot's steps.
TEST(SimCli, TicksRunTheExplosionOfAPieceOnABomb) {
  const std::string level = floorSource("sim_piece_bomb", "pillar pillar", kRobotAt3,
                                        "...........X....X.................");
  const std::string first = runSim("--file " + level + " --do h").out;
  EXPECT_EQ(arrayValue(first, "deviceLayer")[world::cellIndex(19, 16)], 0);  // blown up
  EXPECT_EQ(intValue(first, "explosionTicks"), 0);
  const RunResult last = runSim("--file " + level + " --trace --do hlllllhtttt");
  const std::vector<std::string> states = lines(last.out);
  ASSERT_EQ(states.size(), 12u);
  EXPECT_GT(intValue(states[7], "explosionTicks"), 0);
  EXPECT_EQ(intValue(states[11], "explosionTicks"), 0);
}

// Without --dir the simulator finds the game's data as the game does, from any working
// directory, and plays the player's own packs too.
TEST(SimCli, ReplaysFindTheGamesDataAndThePlayersPacksFromAnyFolder) {
  if (!std::ifstream(std::string(MDX_GAME_DIR) + "/mappack1/level01.dat")) {
    GTEST_SKIP() << "build the game folder first";
  }
  const std::string dir = ::testing::TempDir() + "sim_anywhere";
  mkdir(dir.c_str(), 0755);
  const std::string title = "start 0\nframe 10 39\nframe 20\n";
  std::ofstream(dir + "/shipped.replay") << "marvolen-replay 1\npack mappack1\n" << title;
  const std::string clean = "unset MARVOLEN_DATA; export XDG_DATA_HOME=" + dir + "/home; ";
  for (const std::string& folder : {std::string("/"), dir}) {
    const RunResult played =
        runSim("--replay " + dir + "/shipped.replay", clean + "cd " + folder + " && ");
    ASSERT_EQ(played.status, 0) << folder << ": " << played.err;
    EXPECT_EQ(intValue(played.out, "gameState"), 3) << folder;
    EXPECT_NE(played.out.find("\"packName\":\"mappack1\""), std::string::npos) << folder;
  }

  const std::string mine = dir + "/home/marvolen-dx/packs/mine";
  mkdir((dir + "/home").c_str(), 0755);
  mkdir((dir + "/home/marvolen-dx").c_str(), 0755);
  mkdir((dir + "/home/marvolen-dx/packs").c_str(), 0755);
  mkdir(mine.c_str(), 0755);
  std::ofstream(mine + "/pref.ini") << "levels\n1\n";
  writeFloorLevel(mine + "/level01.dat", 10, 4);
  std::ofstream(dir + "/mine.replay") << "marvolen-replay 1\npack mine\n" << title;
  const RunResult own = runSim("--replay mine.replay", clean + "cd " + dir + " && ");
  ASSERT_EQ(own.status, 0) << own.err;
  EXPECT_EQ(intValue(own.out, "robotColumn"), 4);
  EXPECT_EQ(intValue(own.out, "gameState"), 3);
}

TEST(SimJson, StringsAndFloatsReadBackExactly) {
  EXPECT_EQ(jsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
  for (float value : {0.1f, -26.0f, 1.0f / 3.0f, 123456.789f, 3.4e38f}) {
    EXPECT_EQ(std::strtof(jsonFloat(value).c_str(), nullptr), value);
  }
  EXPECT_EQ(jsonFloat(-26.0f), "-26");
}

}  // namespace
}  // namespace mdx::sim
