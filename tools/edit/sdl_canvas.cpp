#include "edit/sdl_canvas.h"

#include <SDL.h>

#include "edit/palette.h"
#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "render/play_field.h"
#include "render/scene.h"

namespace mdx::edit {

namespace {

// The palette texture: one 19 x 19 tile per palette entry, kPaletteColumns to a row.
constexpr int kTile = world::kCellSize;
constexpr int kPaletteColumns = 16;
constexpr int kPaletteRows = 8;
constexpr float kRobotTileScale = 0.5f;

int tileIndex(const Brush& brush) {
  const auto& entries = palette();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].brush.layer == brush.layer && entries[i].brush.code == brush.code) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

Canvas::Canvas() = default;

Canvas::~Canvas() {
  if (levelTexture_) SDL_DestroyTexture(levelTexture_);
  if (paletteTexture_) SDL_DestroyTexture(paletteTexture_);
}

int Canvas::init(SDL_Renderer* renderer, const world::PackLayout& pack) {
  renderer_ = renderer;
  backend_ = std::make_unique<gfx::SdlBackend>(renderer, gfx::defaultFontPaths(pack.dataFolder));
  // The level is drawn into a texture; the window's own present comes later, with the UI.
  backend_->setPresenter([] {});
  levelTexture_ = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                    gfx::kScreenWidth, gfx::kScreenHeight);
  paletteTexture_ = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                      kPaletteColumns * kTile, kPaletteRows * kTile);
  if (levelTexture_ == nullptr || paletteTexture_ == nullptr) return 0;
  SDL_SetTextureBlendMode(paletteTexture_, SDL_BLENDMODE_BLEND);
  world::RecordingMessageBoxes messages;
  const int loaded = render::loadAssets(assets_, *backend_, pack, &messages);
  for (const auto& message : messages.shown) {
    SDL_Log("marvolen-edit: missing picture %s", message.text.c_str());
  }
  drawPalette();
  return loaded;
}

SDL_Texture* Canvas::draw(const world::GameState& state, const CanvasView& view) {
  world::GameState shown = state;
  shown.progress.gameState = world::StateRunning;
  shown.scene.hudPhase = 2;  // the piece bar has slid away
  if (!view.blocks) shown.world.blockLayer.fill(0);
  if (!view.devices) shown.world.deviceLayer.fill(0);
  SDL_SetRenderTarget(renderer_, levelTexture_);
  backend_->beginScene();
  if (view.scenery) {
    render::drawLandscape(shown, assets_);
    render::drawLowerStrip(shown, assets_);
    render::drawUpperStrip(shown, assets_);
  }
  render::drawPlayField(shown, assets_);
  SDL_SetRenderTarget(renderer_, nullptr);
  return levelTexture_;
}

void Canvas::drawPalette() {
  SDL_SetRenderTarget(renderer_, paletteTexture_);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 0);
  SDL_RenderClear(renderer_);
  const auto& entries = palette();
  for (size_t i = 0; i < entries.size(); ++i) {
    const Brush& brush = entries[i].brush;
    const float x = static_cast<float>(static_cast<int>(i) % kPaletteColumns * kTile);
    const float y = static_cast<float>(static_cast<int>(i) / kPaletteColumns * kTile);
    if (brush.layer == Layer::Devices) {
      assets_.deviceImages[static_cast<size_t>(brush.code)].draw(x, y, 0xFFFFFFFFu, 0, 0, 0, 1, 1);
    } else if (brush.code == world::kRobot) {
      // The robot's picture is larger than a cell: shrunk to fit its tile.
      assets_.robotImages[0].draw(x, y, 0xFFFFFFFFu, 0, 0, 0, kRobotTileScale, kRobotTileScale);
    } else {
      assets_.blockImages[static_cast<size_t>(brush.code)].draw(x, y, 0xFFFFFFFFu, 0, 0, 0, 1, 1);
    }
  }
  SDL_SetRenderTarget(renderer_, nullptr);
}

bool Canvas::paletteTile(const Brush& brush, PaletteTile& tile) const {
  const int index = tileIndex(brush);
  if (index < 0 || index >= kPaletteColumns * kPaletteRows) return false;
  const float width = kPaletteColumns * kTile, height = kPaletteRows * kTile;
  tile.u0 = static_cast<float>(index % kPaletteColumns * kTile) / width;
  tile.v0 = static_cast<float>(index / kPaletteColumns * kTile) / height;
  tile.u1 = tile.u0 + kTile / width;
  tile.v1 = tile.v0 + kTile / height;
  return true;
}

}  // namespace mdx::edit
