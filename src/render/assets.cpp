#include "render/assets.h"

#include "gfxlib/sdl_backend.h"
#include "render/asset_table.h"

namespace mdx::render {

Device::Device() = default;
Device::~Device() = default;
Device::Device(Device&&) noexcept = default;
Device& Device::operator=(Device&&) noexcept = default;

std::string missingPicturesText(const std::vector<std::string>& files) {
  const std::size_t count = files.size();
  std::string text =
      std::to_string(count) + (count == 1 ? " picture" : " pictures") + " could not be loaded:";
  for (std::size_t i = 0; i < count && i < kMissingPicturesListed; ++i) text += "\n" + files[i];
  if (count > kMissingPicturesListed) {
    text += "\nand " + std::to_string(count - kMissingPicturesListed) + " more.";
  }
  return text;
}

int loadAssets(Assets& assets, gfx::DrawBackend& backend, const world::PackLayout& pack,
               world::MessageBoxes* messages) {
  int loaded = 0;
  // Each picture that fails names its file here; the player gets one message for them all.
  world::RecordingMessageBoxes failed;
  for (const AssetEntry& entry : assetTable(pack)) {
    if (assetTarget(assets, entry).load(backend, entry.file, &failed) == gfx::kOk) ++loaded;
  }
  if (!failed.shown.empty() && messages != nullptr) {
    std::vector<std::string> files;
    for (const world::RecordedMessage& message : failed.shown) files.push_back(message.text);
    messages->showMessage(missingPicturesText(files), "Critical error",
                          world::MessageIcon::Information);
  }
  return loaded;
}

int32_t createDeviceAndLoadAssets(const world::Options& options, const world::PackLayout& pack,
                                  const gfx::DisplayRequest& window, Device& device, Assets& assets,
                                  world::MessageBoxes& messages) {
  gfx::DisplayRequest request = window;
  request.displayIndex = options.adapterIndex;
  request.windowed = options.windowed != 0;
  device.display = gfx::Display::open(request, messages);
  if (device.display == nullptr) return gfx::kFail;
  device.backend = std::make_unique<gfx::SdlBackend>(device.display->renderer(),
                                                     gfx::defaultFontPaths(pack.dataFolder));
  device.backend->setPresenter([display = device.display.get()] { display->present(); });
  device.backend->setPictureInMemory(device.display->pictureInMemory());
  device.backend->setSceneStarter([display = device.display.get()] { display->beginFrame(); });
  loadAssets(assets, *device.backend, pack, &messages);
  return gfx::kOk;
}

namespace {

template <std::size_t N>
void releaseAll(std::array<gfx::SpriteImage, N>& images) {
  for (gfx::SpriteImage& image : images) image.release();
}

}  // namespace

void releaseDevice(Device& device, Assets& assets) {
  releaseAll(assets.blockImages);
  releaseAll(assets.deviceImages);
  releaseAll(assets.robotImages);
  assets.logoImage.release();
  assets.dxImage.release();
  releaseAll(assets.parallaxImages);
  releaseAll(assets.landscapeImages);
  releaseAll(assets.lightImages);
  releaseAll(assets.textImages);
  assets.rect01Image.release();
  assets.rect02Image.release();
  assets.textNextImage.release();
  assets.borderImage.release();
  releaseAll(assets.tileImages);
  releaseAll(assets.digitImages);
  releaseAll(assets.explosionImages);
  assets.blackWriter.release();
  assets.whiteWriter.release();
  device.backend.reset();
  device.display.reset();
}

}  // namespace mdx::render
