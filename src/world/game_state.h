// The whole game state as plain data, grouped by owner, and the puzzle world's operations on it.
// One GameState is owned by the game (or by a test or tool, which builds a fresh one).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "world/grid.h"
#include "world/level_format.h"
#include "world/level_meta.h"
#include "world/pack_catalog.h"
#include "world/services.h"

namespace mdx::world {

// Values of gameState.
enum : int32_t {
  StateTitle = 0,     // title menu
  StateRunning = 1,   // the robot walks
  StateDropping = 2,  // the pieces fall and are steered
  StateReady = 3,     // a level is loaded and waits for Space or Enter
  StateEnding = 4,    // the ending level
};

// Start-up options chosen in the startup dialog. These are the values before the dialog runs.
struct Options {
  uint8_t windowed = 0;
  uint8_t blocks3D = 0;
  uint8_t soundEnabled = 0;
  uint32_t adapterIndex = 0;
  int32_t packIndex = 1;
  std::string packName = kDefaultPackName;  // the map pack's name in the catalogue
};

// Where the player is in the game.
struct Progress {
  int32_t gameState = StateTitle;
  int32_t levelNumber = 1;  // kEndingLevel is the ending
  int32_t levelCount = 32;  // the pack's last level, read from pref.ini at every level start
};

// The level: both layers and the level values from the file (LevelValues), the robot and the
// machinery.
struct World : LevelValues {
  int32_t robotColumn = 0;
  int32_t robotRow = 0;
  uint8_t robotFalling = 0;
  uint8_t robotClimbing = 0;
  int32_t robotFrame = 0;  // 0, 1 walking, 2 falling, 2 and 3 at the exit
  int32_t liftCounter = 0;
  int32_t liftReturnTimer = 0;
  int32_t gateState = 0;  // 0 lying, 1 turning up, 2 standing, 3 turning back
  uint8_t levelComplete = 0;
  uint8_t robotExploded = 0;
  int16_t explosionTicks = 0;
  float robotExplosionX = 0.0f;
  float robotExplosionY = 0.0f;
  float lightX = 0.0f;
  float lightY = 0.0f;
};

// What handlePieceCommand is asked to do with the falling piece. The values are those kept in
// Pieces::pieceCommand (and in recorded state traces).
enum PieceCommand : int32_t {
  kPieceCommandDone = 0,  // nothing asked, or the request handled
  kPieceTestLeft = 1,     // may the piece move one column left? (sets pieceMoveAllowed)
  kPieceFallStep = 2,     // one row down, or land where it stands
  kPieceTestRight = 3,    // may the piece move one column right?
};

// The falling piece and the requests to its handler.
struct Pieces {
  int32_t pieceIndex = 0;
  int32_t pieceColumn = 0;
  int32_t pieceRow = 0;
  std::array<std::array<int32_t, 3>, 4> pieceShape{};  // [row][column] image codes, 0 = nothing
  uint8_t pieceShapeInBlocks = 0;                      // 1 block images, 0 device images
  int32_t pieceCommand = kPieceCommandDone;            // a PieceCommand
  uint8_t pieceMoveAllowed = 0;
};

// Animation values: advanced by the frame loop, reset at level start, read by the drawing.
// Defaults are the program-start values; the frame loop sets its own start values before it runs.
struct Scene {
  int32_t fadeLevel = 0;
  int32_t lightLevel1 = 0;
  int32_t lightLevel2 = 0;
  uint8_t lightFalling1 = 1;
  uint8_t lightFalling2 = 1;
  float robotScale = 0.0f;
  float robotPivotX = 0.0f;
  float robotPivotY = 0.0f;
  float waveClock = 0.0f;       // degrees
  float landscapeAngle = 0.0f;  // radians
  float landscapeClock = 0.0f;  // degrees
  float spinAngle = 0.0f;
  float gateTurn = 0.0f;  // degrees
  float gateAngle = 0.0f;
  std::array<float, 2> parallax1X{};
  std::array<float, 2> parallax2X{};
  uint8_t blinkPhase = 0;
  uint8_t altFramePhase = 1;
  int32_t titleFramePhase = 0;
  float bannerScale = 0.0f;
  float bannerX = 0.0f;
  int16_t hudPhase = 0;  // 0 piece bar shown, 1 sliding out, 2 gone
  float hudSlide = 0.0f;
  float explosionAngle = 0.0f;
  uint8_t stuckHint =
      0;  // 1 shows the line that offers the restart key until the level starts again
  // Short lines for the player, one per '\n'-ended line, oldest first (a save that failed, a
  // song that cannot play). Shown at the foot of every screen until the game lets them go.
  std::string notices;
};

// Keyboard command latches, in this order.
enum Latch {
  LatchConfirm,
  LatchRestart,
  LatchUp,
  LatchDown,
  LatchLeft,
  LatchRight,
  LatchMusic,
  LatchQuit,
  LatchHowTo,
  kLatchCount
};

// How many pages the How to play screens have; Left and Right page from 1 to this.
constexpr int32_t kHowToPages = 4;

// State of the keyboard commands and the menus they drive.
struct Keys {
  std::array<uint8_t, kLatchCount> keyLatch{};
  uint8_t titleChoice = 1;  // 1 start, 0 quit
  uint8_t quitPrompt = 0;
  // 1 while the peek key is held in a level: the signs, the key help and the quit prompt step
  // aside so the whole field shows. Only the drawing reads it; the level waits as before.
  uint8_t peeking = 0;
  // The level START GAME begins with, chosen on the title with Left and Right from 1 to
  // titleLevelLimit (the highest level the player has reached in the pack, 1 when none).
  int32_t titleLevel = 1;
  int32_t titleLevelLimit = 1;
  // The How to play page shown over the title or the level (1 to kHowToPages), 0 when closed.
  // While it is shown the level behind it waits, as behind the quit prompt.
  int32_t howToPage = 0;
};

// The game's commands, each given by a key and a pad button the player may choose; the
// shell's key table lists them in this order.
enum CommandIndex : std::size_t {
  kCommandUp,
  kCommandDrop,
  kCommandLeft,
  kCommandRight,
  kCommandConfirm,
  kCommandRestart,
  kCommandMusic,
  kCommandQuit,
  kCommandKeys,
  kCommandPeek,
  kCommandHowTo,
  kCommandHint,
  kCommandCount
};

// The names of the keys and pad buttons in use, by command, as the texts on the screen name
// them ("R", "Y"; "" for a command without a pad button). The shell fills them from its keys
// and again after every change; like the keys page they are no play state.
struct KeyLabels {
  std::array<std::string, kCommandCount> keys;
  std::array<std::string, kCommandCount> pads;
};

// The keys page over the title screen, as it is shown. The keys themselves are the shell's
// (the world knows no key names), so this is what the page shows rather than play state: the
// state's digests and texts leave it out.
struct KeysPage {
  bool open = false;
  bool listening = false;                        // waiting for the new key of the chosen row
  std::size_t row = 0;                           // the chosen command
  std::vector<std::array<std::string, 3>> rows;  // per command: what it does, key, pad button
  std::string message;                           // the outcome of the last change
  std::string titleHint;                         // on the title: the key that opens the page
};

// The solver's hint as shown over a level: a see-through copy of the falling piece where it
// should land, or a short line. The search runs beside the frame loop and its answer depends
// on how fast the machine is, so, like the keys page, this is what is shown rather than play
// state: the state's digests and texts leave it out, and replays play alike with or without it.
struct HintView {
  bool ghost = false;      // the copy is shown, for the falling piece pieceIndex
  int32_t pieceIndex = 0;  // the piece the copy and the line are about
  int32_t column = 0;      // the piece box's column and row where it should land
  int32_t row = 0;
  std::string line;        // what the search found when it found no place, or that it is looking
  bool lineStays = false;  // the line holds for the rest of the level, not only this piece
  std::string offer;       // the offer of a hint after a few lost attempts
  // Hints used per level of the pack (index: level number), for the title's level choice.
  std::vector<int32_t> usedPerLevel;
};

// The game state and the puzzle world's operations on it. Sound effects and messages go out
// through the two service pointers; either may be null (then nothing is played or shown).
class GameState {
 public:
  GameState() = default;
  GameState(SampleSink* samples, MessageBoxes* messages) : samples(samples), messages(messages) {}

  Options options;
  Progress progress;
  World world;
  Pieces pieces;
  Scene scene;
  Keys keys;
  KeysPage keysPage;
  HintView hint;
  KeyLabels keyLabels;
  // Where the files of options.packName and the shared media lie. Set with the pack's name;
  // left out of the state's fields and hash, which do not depend on where the game is.
  PackLayout pack = shippedPackLayout("", kDefaultPackName);
  // The name, idea and hint of the level in play, from its pack's words file (empty when the
  // pack has none for it). Read at every level start; they never change how the level plays.
  LevelMeta levelWords;
  // What the player knows that pack by, shown on the title ("" shows nothing). Set with it.
  std::string packTitle;

  SampleSink* samples = nullptr;
  MessageBoxes* messages = nullptr;

  // Reads a level file into the layers, the level values and the robot position, and tells
  // how many lines the file really had. Called by startLevel; levelNumber must be set first
  // (the ending forces its music). A file that cannot be opened shows the error message.
  LevelFileReport loadLevelFile(const std::string& path);

  // loadLevelFile for the bytes of a level file already in memory.
  LevelFileReport loadLevelBytes(std::string_view bytes);

  // Starts level n: pref.ini, the level file, every per-level reset, the gate pass and
  // the first piece. The caller sets levelNumber to n first and sets gameState afterwards.
  // Returns how the level file read, as loadLevelFile does. A missing or broken pref.ini
  // and a level file that ends early are each reported once per file, naming it.
  LevelFileReport startLevel(int32_t n);

  // The part of startLevel after pref.ini and the path: loads path, makes the per-level
  // resets, runs the gate pass and sets up the first piece. Tools use it for a loose file.
  LevelFileReport startLevelFromFile(const std::string& path);

  // startLevelFromFile for the bytes of a level file already in memory.
  LevelFileReport startLevelFromBytes(std::string_view bytes);

  // Makes piece pieceIndex the falling piece at column 15, row 0.
  void setupPiece();

  // Acts on pieceCommand, then sets it back to kPieceCommandDone.
  void handlePieceCommand();

  // One step of the robot and the lifts (every 150 ms while the robot runs).
  void worldStep();

  // The gate pass: lays or stands the swing bars for gateState, clears explosion markers,
  // and records the exit light position.
  void applyGates();

  // Plays an effect when sound is enabled and a sink is plugged in.
  void playSample(Sample sample);
  // levelCount for the pack, from pref.ini or, when that fails, the pack's level files.
  int32_t packLevelCount();
  // The name, idea and hint of the pack's level n (none for the ending); the words file's
  // broken lines are reported once, the rest of it is used.
  LevelMeta packLevelWords(int32_t n);

 private:
  LevelFileReport readLevelInto(LineReader& reader);
  void resetForLevel();
  // Shows text unless a message about file was shown before.
  void tellOnce(const std::string& file, const std::string& text);

  std::set<std::string> toldFiles_;  // files a problem was already reported for
};

}  // namespace mdx::world
