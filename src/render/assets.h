// Every picture the game draws and the two text writers, filled at start-up.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfxlib/sdl_display.h"
#include "gfxlib/sprite_image.h"
#include "gfxlib/text_writer.h"
#include "world/game_state.h"
#include "world/services.h"

namespace mdx::gfx {
class SdlBackend;
}  // namespace mdx::gfx

namespace mdx::render {

using gfx::SpriteImage;
using gfx::TextWriter;

struct Assets {
  std::array<SpriteImage, 99> blockImages;   // by blockLayer code; 1 to 61 loaded
  std::array<SpriteImage, 99> deviceImages;  // by deviceLayer code; 1 to 13 loaded
  std::array<SpriteImage, 4> robotImages;
  SpriteImage logoImage;
  SpriteImage dxImage;
  std::array<SpriteImage, 5> parallaxImages;   // 0 blank, 1 upper strip, 2 lower strip
  std::array<SpriteImage, 5> landscapeImages;  // 0 to 2
  std::array<SpriteImage, 2> lightImages;
  std::array<SpriteImage, 8> textImages;
  SpriteImage rect01Image;
  SpriteImage rect02Image;  // the frame of the How to play pages
  SpriteImage textNextImage;
  SpriteImage borderImage;
  std::array<SpriteImage, 15> tileImages;  // 0 to 5
  std::array<SpriteImage, 10> digitImages;
  std::array<SpriteImage, 1> explosionImages;
  TextWriter blackWriter;
  TextWriter whiteWriter;
};

// The drawing device: the window (or headless surface) and the back end drawing on it.
struct Device {
  Device();
  ~Device();
  Device(Device&&) noexcept;
  Device& operator=(Device&&) noexcept;
  std::unique_ptr<gfx::Display> display;
  std::unique_ptr<gfx::SdlBackend> backend;
};

// How many missing pictures the message names; the rest are counted.
constexpr std::size_t kMissingPicturesListed = 10;

// The one message about pictures that could not be loaded: their count, the first
// kMissingPicturesListed file names one per line, and how many more there are.
std::string missingPicturesText(const std::vector<std::string>& files);

// Loads the 117 pictures of the asset table, in its order, through backend; the two pack
// landscapes come from pack's own folder. Loading goes on past a picture that fails; when any
// failed, one message (missingPicturesText, caption "Critical error") names them. Returns how
// many loaded.
int loadAssets(Assets& assets, gfx::DrawBackend& backend, const world::PackLayout& pack,
               world::MessageBoxes* messages);

// Brings the graphics up: opens the device on options.adapterIndex, windowed or full screen as
// options.windowed says (window gives the rest: zoom, hidden), then loads every picture and
// the font from pack's folders (the pack the application has settled). Returns gfx::kOk, or
// gfx::kFail after "Cannot Create Device!" when no renderer can be made. Missing pictures do
// not fail it. The app calls it once after the startup dialog.
int32_t createDeviceAndLoadAssets(const world::Options& options, const world::PackLayout& pack,
                                  const gfx::DisplayRequest& window, Device& device, Assets& assets,
                                  world::MessageBoxes& messages);

// Lets go of the device at the end of the run. The pictures and writers forget their back end
// first, so drawing them afterwards draws nothing instead of touching freed textures.
void releaseDevice(Device& device, Assets& assets);

}  // namespace mdx::render
