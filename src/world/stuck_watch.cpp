#include "world/stuck_watch.h"

#include <cstring>

namespace mdx::world {
namespace {

// A run far longer than any loop of a level stops being recorded, so memory stays bounded.
constexpr std::size_t kMaxSteps = std::size_t{1} << 16;

uint64_t mix(uint64_t hash, uint64_t value) {
  hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
  return hash * 0xFF51AFD7ED558CCDull;
}

uint64_t cellHash(int k, int32_t value) {
  return mix(static_cast<uint64_t>(k), static_cast<uint32_t>(value));
}

// Moves a sum of cell hashes from the grid `before` to the grid `after`. A world step changes
// a few cells, so an unchanged grid, and then an unchanged row, is passed over with one
// comparison.
void updateGrid(uint64_t& sum, LevelGrid& before, const LevelGrid& after, int offset) {
  if (before == after) return;
  constexpr std::size_t kRowBytes = sizeof(int32_t) * kColumns;
  for (int first = 0; first < kCells; first += kColumns) {
    const std::size_t row = static_cast<std::size_t>(first);
    if (std::memcmp(&before[row], &after[row], kRowBytes) == 0) continue;
    for (int k = first; k < first + kColumns; ++k) {
      const std::size_t i = static_cast<std::size_t>(k);
      if (before[i] == after[i]) continue;
      sum += cellHash(k + offset, after[i]) - cellHash(k + offset, before[i]);
      before[i] = after[i];
    }
  }
}

// The hash sum of two all-zero grids, where every watch starts.
uint64_t emptyGridsHash() {
  uint64_t sum = 0;
  for (int k = 0; k < 2 * kCells; ++k) sum += cellHash(k, 0);
  return sum;
}

}  // namespace

void StuckWatch::reset() {
  seen_.clear();
  gridsKnown_ = false;
  stuck_ = false;
  firstSeen_ = -1;
}

uint64_t StuckWatch::gridsHash(const World& w) {
  if (!gridsKnown_) {
    // Starting from all-zero grids counts every cell that is not 0.
    static const uint64_t kEmptyGridsHash = emptyGridsHash();
    blocks_.fill(0);
    devices_.fill(0);
    gridsHash_ = kEmptyGridsHash;
    gridsKnown_ = true;
  }
  updateGrid(gridsHash_, blocks_, w.blockLayer, 0);
  updateGrid(gridsHash_, devices_, w.deviceLayer, kCells);
  return gridsHash_;
}

bool StuckWatch::afterWorldStep(const GameState& game, int step) {
  const World& w = game.world;
  uint64_t key = gridsHash(w);
  const int64_t values[] = {
      w.robotColumn,     w.robotRow,  w.robotFalling,   w.liftCounter,
      w.liftReturnTimer, w.gateState, w.explosionTicks, static_cast<int64_t>(game.scene.gateTurn)};
  for (int64_t v : values) key = mix(key, static_cast<uint64_t>(v));
  const auto found = seen_.find(key);
  if (found != seen_.end()) {
    if (!stuck_) firstSeen_ = found->second;
    stuck_ = true;
    return true;
  }
  if (seen_.size() < kMaxSteps) seen_.emplace(key, step);
  return false;
}

}  // namespace mdx::world
