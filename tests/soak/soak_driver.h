// The soak run: the whole game headless under a virtual clock, played by random keys, drawn
// every frame by the real scene drawing on a back end that only counts, with the recording
// sound library behind the music. Checks the game's invariants after every frame.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/game.h"
#include "gfxlib/draw_backend.h"
#include "render/assets.h"
#include "sound/music.h"
#include "sound/recording_sound_library.h"

namespace mdx::soak {

// A keyboard played by chance: each read either keeps the held keys or changes them, weighted
// towards the keys of play (side moves, drop, start) and away from restart, quit and music.
class RandomKeySource : public app::KeySource {
 public:
  explicit RandomKeySource(uint32_t seed) : random_(seed) {}
  bool read(app::KeyState& state) override;
  void acquire() override {}

 private:
  std::mt19937 random_;
  app::KeyState held_{};
  bool idle_ = false;
};

// Draws nothing; hands out a texture for every picture and counts the sprite draws.
class CountingBackend : public gfx::DrawBackend {
 public:
  gfx::TextureId loadTexture(const std::string&) override { return ++textures; }
  void drawSprite(gfx::TextureId texture, const gfx::SpriteDraw&) override;
  gfx::FontId createFont() override { return 1; }
  int32_t drawText(gfx::FontId, const std::string&, int32_t, int32_t, uint32_t) override;
  int32_t textWidth(gfx::FontId, const std::string& text) override {
    return 8 * static_cast<int32_t>(text.size());
  }
  void beginScene() override { ++scenes; }
  void endScene() override { ++presents; }

  int32_t textures = 0;
  uint64_t sprites = 0;
  uint64_t texts = 0;
  uint64_t scenes = 0;
  uint64_t presents = 0;
  uint64_t badTextures = 0;  // draws of a texture id that was never handed out
};

// What a run saw: counts of the places it went through and the first broken invariant.
struct SoakReport {
  uint64_t frames = 0;
  uint64_t levelStarts = 0;
  uint64_t programRuns = 0;
  uint64_t titleVisits = 0;
  uint64_t endingVisits = 0;
  uint64_t levelsCompleted = 0;
  uint64_t blowUps = 0;
  uint64_t spritesDrawn = 0;
  std::vector<int64_t> heapAtCheckpoints;  // live heap bytes at each quarter of the run
  std::string firstFault;                  // empty when every invariant held
};

// Plays `frames` frames with the game folder dataFolder, which must hold the packs named in
// packs (each with pref.ini and its levels) and the ending level. The pack changes on every
// title visit.
SoakReport runSoak(uint64_t frames, const std::string& dataFolder,
                   const std::vector<std::string>& packs, uint32_t seed);

// Live heap bytes of the process (the allocator's own count).
int64_t liveHeapBytes();

}  // namespace mdx::soak
