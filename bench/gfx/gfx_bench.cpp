// Start-up picture loading and sprite drawing on the software renderer.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "gfxlib/tga_writer.h"
#include "render/asset_table.h"
#include "render/assets.h"

namespace {

using mdx::gfx::Picture;

// The pictures' sizes as the game's media have them: cells of 19 pixels, 830-pixel landscapes.
std::pair<int, int> pictureSize(const mdx::render::AssetEntry& entry) {
  using mdx::render::AssetSlot;
  switch (entry.slot) {
    case AssetSlot::Landscape:
      return {830, 830};
    case AssetSlot::Parallax:
      return entry.element == 0 ? std::make_pair(8, 8) : std::make_pair(640, 100);
    case AssetSlot::Logo:
      return {525, 102};
    case AssetSlot::Dx:
      return {151, 80};
    case AssetSlot::Text:
      return {230, 76};
    case AssetSlot::Rect01:
      return {248, 48};
    case AssetSlot::Tile:
      return {25, 25};
    case AssetSlot::Digit:
      return {12, 20};
    case AssetSlot::Explosion:
      return {39, 39};
    case AssetSlot::Robot:
      return {19, 38};
    default:
      return {19, 19};
  }
}

Picture patterned(int w, int h, int seed) {
  Picture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(static_cast<std::size_t>(w) * h);
  uint32_t state = 2463534242u + static_cast<uint32_t>(seed);
  for (uint32_t& px : p.pixels) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    px = 0xFF000000u | (state & 0xFFFFFFu);
  }
  return p;
}

// Writes every picture of the table into a scratch game folder once; returns its pack.
mdx::world::PackLayout prepareGameFolder() {
  static mdx::world::PackLayout pack;
  if (!pack.packFolder.empty()) return pack;
  char pattern[] = "/tmp/mdx-gfx-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) std::abort();
  pack = mdx::world::shippedPackLayout(pattern, "mappack1");
  mkdir(pack.mediaFile("").c_str(), 0755);
  mkdir(pack.packFolder.c_str(), 0755);
  int seed = 0;
  for (const auto& entry : mdx::render::assetTable(pack)) {
    const auto [w, h] = pictureSize(entry);
    if (!mdx::gfx::saveTga(entry.file, patterned(w, h, ++seed))) std::abort();
  }
  return pack;
}

void BM_LoadAll117Pictures(benchmark::State& state) {
  const mdx::world::PackLayout pack = prepareGameFolder();
  auto display = mdx::gfx::Display::openHeadless();
  for (auto _ : state) {
    mdx::gfx::SdlBackend backend(display->renderer());
    mdx::render::Assets assets;
    const int loaded = mdx::render::loadAssets(assets, backend, pack, nullptr);
    if (loaded != static_cast<int>(mdx::render::assetTable(pack).size())) {
      state.SkipWithError("not every picture loaded");
    }
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_LoadAll117Pictures)->Unit(benchmark::kMillisecond);

// One play-field-like frame: the turning landscape, two strips, then `count` 19-pixel
// sprites over the grid in a faded grey; arg 1 turns every sprite a little as well.
void BM_FrameOfSpriteDraws(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool turned = state.range(1) != 0;
  auto display = mdx::gfx::Display::openHeadless();
  mdx::gfx::SdlBackend backend(display->renderer());
  const auto landscape = backend.createTexture(patterned(830, 830, 1));
  const auto strip = backend.createTexture(patterned(640, 100, 2));
  const auto block = backend.createTexture(patterned(19, 19, 3));
  for (auto _ : state) {
    backend.beginScene();
    backend.drawSprite(landscape, {-80, -160, 0xFFE0E0E0u, 0.05f, 400, 400, 1, 1});
    backend.drawSprite(strip, {0, 380, 0xFFE0E0E0u});
    backend.drawSprite(strip, {0, 0, 0xFFE0E0E0u});
    for (int i = 0; i < count; ++i) {
      const float x = static_cast<float>(19 * (i % 34)),
                  y = static_cast<float>(19 * ((i / 34) % 27) - 26);
      backend.drawSprite(block, {x, y, 0xFFC0C0C0u, turned ? 0.3f : 0.0f, 9.5f, 9.5f, 1, 1});
    }
    backend.endScene();
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_FrameOfSpriteDraws)->Args({2000, 0})->Args({2000, 1})->Unit(benchmark::kMillisecond);

// The turned landscape alone, opaque and untinted as the title and most levels show it, at the
// angle of the first argument in hundredths of a radian: drawn by SDL's software renderer
// (second argument 0) or copied straight into the picture in memory with the renderer's pixels
// (1), as the game's frames in memory do.
void BM_TurnedLandscape(benchmark::State& state) {
  auto display = mdx::gfx::Display::openHeadless();
  mdx::gfx::SdlBackend backend(display->renderer());
  if (state.range(1) != 0) backend.setPictureInMemory(display->pictureInMemory());
  const auto landscape = backend.createTexture(patterned(830, 830, 1));
  const float angle = static_cast<float>(state.range(0)) / 100.0f;
  for (auto _ : state) {
    backend.beginScene();
    backend.drawSprite(landscape, {-80, -160, 0xFFFFFFFFu, angle, 400, 400, 1, 1});
    backend.endScene();
  }
}
BENCHMARK(BM_TurnedLandscape)
    ->Args({5, 0})
    ->Args({5, 1})
    ->Args({150, 0})
    ->Args({150, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
