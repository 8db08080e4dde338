#include <array>
#include <cstdint>
#include <string_view>

#include "world/actions.h"
#include "world/game_state.h"

namespace {

// How many steps a run plays, picked by the input's last byte (its value modulo 8): most
// inputs are judged on the loader and a short play, while the fuzzer can still steer any
// level into a long one by changing that byte. A level file's last byte is usually a line
// feed (16 steps) or a digit (any length).
constexpr std::array<size_t, 8> kPlayLengths = {4, 8, 16, 32, 64, 128, 256, 400};

size_t playLength(const uint8_t* data, size_t size) {
  return kPlayLengths[size == 0 ? 0 : data[size - 1] % kPlayLengths.size()];
}

// The actions a run plays on the loaded level, chosen from the input's bytes so that the
// fuzzer steers the play as well as the level.
char actionFor(const uint8_t* data, size_t size, size_t step) {
  const uint8_t byte = size == 0 ? 0 : data[(step * 131) % size];
  return mdx::world::kActionLetters[(byte + step) % mdx::world::kActionLetters.size()];
}

// A won level ends the run, and so does a lost one once its explosion is over: there the game
// starts the level again.
bool runIsOver(const mdx::world::World& world) {
  return world.levelComplete != 0 || (world.robotExploded != 0 && world.explosionTicks == 0);
}

}  // namespace

// Any bytes as a level file: the loader reads them, the level starts, and up to a few hundred
// steps of play run on it. Out-of-grid reads, overflows and runaway values show up as
// sanitizer reports. The bytes never touch the disk.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::world;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  RecordingSampleSink samples;
  RecordingMessageBoxes messages;
  GameState game(&samples, &messages);
  game.options.soundEnabled = 1;
  game.progress.levelNumber = (size % 5 == 0) ? 99 : 1;
  const LevelFileReport report = game.startLevelFromBytes(bytes);
  if (!messages.shown.empty()) __builtin_trap();  // bytes in memory: nothing to report
  if (report.lines < 0 || report.lines > kLevelFileLines) __builtin_trap();
  if (game.progress.levelNumber == 99 && game.world.levelMusic != 99) __builtin_trap();
  const size_t steps = playLength(data, size);
  for (size_t step = 0; step < steps && !runIsOver(game.world); ++step) {
    performAction(game, actionFor(data, size, step));
    if (game.pieces.pieceColumn < 0 || game.pieces.pieceColumn > 31) __builtin_trap();
  }
  return 0;
}
