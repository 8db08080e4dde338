#include <cstdint>
#include <string_view>

#include "world/actions.h"
#include "world/game_state.h"

namespace {

// The actions a run plays on the loaded level, chosen from the input's bytes so that the
// fuzzer steers the play as well as the level.
char actionFor(const uint8_t* data, size_t size, size_t step) {
  const uint8_t byte = size == 0 ? 0 : data[(step * 131) % size];
  return mdx::world::kActionLetters[(byte + step) % mdx::world::kActionLetters.size()];
}

}  // namespace

// Any bytes as a level file: the loader reads them, the level starts, and a few hundred steps
// of play run on it. Out-of-grid reads, overflows and runaway values show up as sanitizer
// reports. The bytes never touch the disk.
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
  for (size_t step = 0; step < 400; ++step) {
    performAction(game, actionFor(data, size, step));
    if (game.pieces.pieceColumn < 0 || game.pieces.pieceColumn > 31) __builtin_trap();
    if (game.world.levelComplete) break;
  }
  return 0;
}
