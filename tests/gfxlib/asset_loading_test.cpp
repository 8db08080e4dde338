// Loading the game's pictures: table order and names, one message for the missing pictures, the
// pack's landscapes, and the whole device set-up on the dummy video driver.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "gfxlib/sdl_backend.h"
#include "gfxlib/tga_writer.h"
#include "render/asset_table.h"
#include "render/assets.h"
#include "sdl_canvas.h"
#include "tga_test_files.h"
#include "world/cell_table.h"

namespace mdx::render {
namespace {

// A back end that notes every file asked for and fails the ones listed as missing.
class RecordingBackend : public gfx::DrawBackend {
 public:
  gfx::TextureId loadTexture(const std::string& fileName) override {
    requested.push_back(fileName);
    return missing.count(fileName) != 0 ? 0 : static_cast<gfx::TextureId>(requested.size());
  }
  void drawSprite(gfx::TextureId texture, const gfx::SpriteDraw&) override {
    drawn.push_back(texture);
  }
  gfx::FontId createFont() override { return 0; }
  int32_t drawText(gfx::FontId, const std::string&, int32_t, int32_t, uint32_t) override {
    return 0;
  }
  int32_t textWidth(gfx::FontId, const std::string&) override { return 0; }
  void beginScene() override {}
  void endScene() override {}

  std::vector<std::string> requested;
  std::set<std::string> missing;
  std::vector<gfx::TextureId> drawn;
};

// The pack of that name in the working directory: the names the back end sees stay short.
world::PackLayout relative(const std::string& packName) {
  return world::shippedPackLayout("", packName);
}

TEST(AssetLoading, EveryPictureIsReadOnceAndEachCellWithAPictureGetsIt) {
  Assets assets;
  RecordingBackend backend;
  world::RecordingMessageBoxes messages;
  const std::vector<AssetEntry> table = assetTable(relative("mappack2"));
  EXPECT_EQ(loadAssets(assets, backend, relative("mappack2"), &messages),
            static_cast<int>(table.size()));
  EXPECT_TRUE(messages.shown.empty());
  const std::vector<std::string>& requested = backend.requested;
  ASSERT_EQ(requested.size(), table.size());
  EXPECT_EQ(std::set<std::string>(requested.begin(), requested.end()).size(), requested.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(requested[i], table[i].file);  // in the table's order
    // The pack's own pictures come from its folder, every other from media/.
    EXPECT_EQ(requested[i].rfind(table[i].inPack ? "mappack2/" : "media/", 0), 0u) << requested[i];
  }
  // Each block and device the levels can show has its picture; codes without one stay empty.
  for (int32_t code = 0; code < static_cast<int32_t>(assets.blockImages.size()); ++code)
    EXPECT_EQ(assets.blockImages[code].loaded == 1, world::hasBlockPicture(code)) << code;
  for (int32_t code = 0; code < static_cast<int32_t>(assets.deviceImages.size()); ++code)
    EXPECT_EQ(assets.deviceImages[code].loaded == 1, world::hasDevicePicture(code)) << code;
}

TEST(AssetLoading, PicturesLandInTheirElementsAndTheRestStayEmpty) {
  Assets assets;
  RecordingBackend backend;
  loadAssets(assets, backend, relative("mappack1"), nullptr);
  EXPECT_EQ(assets.blockImages[10].fileName(), "media/block010.tga");
  EXPECT_EQ(assets.blockImages[9].fileName(), "media/block009.tga");
  EXPECT_EQ(assets.deviceImages[13].fileName(), "media/block113.tga");
  EXPECT_EQ(assets.digitImages[0].fileName(), "media/0.tga");
  EXPECT_EQ(assets.landscapeImages[2].fileName(), "mappack1/lndscp03.tga");
  for (int never : {0, 62, 98}) EXPECT_EQ(assets.blockImages[never].loaded, 0) << never;
  for (int never : {0, 14, 98}) EXPECT_EQ(assets.deviceImages[never].loaded, 0) << never;
  EXPECT_EQ(assets.parallaxImages[3].loaded, 0);
  EXPECT_EQ(assets.tileImages[6].loaded, 0);
  EXPECT_EQ(assets.robotImages[3].loaded, 1);
  // Drawing an element no file was loaded into draws nothing; a loaded one draws once.
  EXPECT_EQ(assets.blockImages[0].draw(0, 0, 0xFFFFFFFFu, 0, 0, 0, 1, 1), gfx::kFail);
  EXPECT_EQ(assets.blockImages[1].draw(0, 0, 0xFFFFFFFFu, 0, 0, 0, 1, 1), gfx::kOk);
  EXPECT_EQ(backend.drawn.size(), 1u);
}

TEST(AssetLoading, MissingPicturesGiveOneMessageAndTheRestStillLoad) {
  Assets assets;
  RecordingBackend backend;
  backend.missing = {"media/block007.tga", "mappack1/lndscp02.tga"};
  world::RecordingMessageBoxes messages;
  const size_t pictures = assetTable(relative("mappack1")).size();
  EXPECT_EQ(loadAssets(assets, backend, relative("mappack1"), &messages),
            static_cast<int>(pictures) - 2);
  EXPECT_EQ(backend.requested.size(), pictures);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "2 pictures could not be loaded:\nmappack1/lndscp02.tga\nmedia/block007.tga");
  EXPECT_EQ(messages.shown[0].caption, "Critical error");
  EXPECT_EQ(messages.shown[0].icon, world::MessageIcon::Information);
  EXPECT_EQ(assets.blockImages[7].loaded, 0);
  EXPECT_EQ(assets.blockImages[8].loaded, 1);
}

// With media/ gone: one message, not one box per picture.
TEST(AssetLoading, EveryPictureMissingNamesTheFirstTenAndCountsTheRest) {
  Assets assets;
  RecordingBackend backend;
  for (const AssetEntry& entry : assetTable(relative("mappack1")))
    backend.missing.insert(entry.file);
  world::RecordingMessageBoxes messages;
  EXPECT_EQ(loadAssets(assets, backend, relative("mappack1"), &messages), 0);
  ASSERT_EQ(messages.shown.size(), 1u);
  const std::string& text = messages.shown[0].text;
  const size_t pictures = backend.requested.size();
  EXPECT_EQ(text.rfind(std::to_string(pictures) + " pictures could not be loaded:\n", 0), 0u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
  EXPECT_NE(text.find("\n" + backend.requested[9] + "\n"), std::string::npos);
  EXPECT_EQ(text.find(backend.requested[10]), std::string::npos);
  EXPECT_EQ(text.substr(text.rfind('\n')), "\nand " + std::to_string(pictures - 10) + " more.");
}

// Pack names of up to 31 characters are allowed; the picture paths are never cut short.
TEST(AssetLoading, LongPackNamesKeepTheirWholeFolder) {
  Assets assets;
  RecordingBackend backend;
  const std::string pack(31, 'p');
  loadAssets(assets, backend, relative(pack), nullptr);
  EXPECT_EQ(backend.requested[4], pack + "/lndscp02.tga");
  EXPECT_EQ(backend.requested[5], pack + "/lndscp03.tga");
}

// A scratch game folder holding every picture except the ones named, and a pack list.
class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("MDX_NO_MESSAGE_BOXES", "1", 1);
    folder_ = gfx::testing::makeTempDir();
    mkdir((folder_ + "/media").c_str(), 0755);
  }

  // The pictures of the pack, but for those named in leaveOut (by their path in the folder).
  void writePictures(const world::PackLayout& pack, const std::set<std::string>& leaveOut) {
    mkdir(pack.packFolder.c_str(), 0755);
    for (const AssetEntry& entry : assetTable(pack)) {
      if (leaveOut.count(entry.file.substr(folder_.size() + 1)) != 0) continue;
      ASSERT_TRUE(gfx::saveTga(entry.file, gfx::testing::solidPicture(19, 19, 0xFF808080u)));
    }
  }

  std::string folder_;
};

TEST_F(GameFolder, DeviceSetUpLoadsThePacksPictures) {
  const world::PackLayout pack = world::shippedPackLayout(folder_, "snd");
  writePictures(pack, {"media/block007.tga"});
  world::Options options;
  options.windowed = 1;
  options.packName = "snd";
  Device device;
  Assets assets;
  world::RecordingMessageBoxes messages;
  ASSERT_EQ(
      createDeviceAndLoadAssets(options, pack, gfx::DisplayRequest{}, device, assets, messages),
      gfx::kOk);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "1 picture could not be loaded:\n" + folder_ + "/media/block007.tga");
  EXPECT_EQ(assets.landscapeImages[1].loaded, 1);
  EXPECT_EQ(assets.landscapeImages[2].fileName(), folder_ + "/snd/lndscp03.tga");
  EXPECT_EQ(assets.blockImages[7].loaded, 0);
  EXPECT_EQ(device.backend->textureSize(2), std::make_pair(19, 19));

  releaseDevice(device, assets);
  EXPECT_EQ(device.display, nullptr);
  // Pictures outlive the device but no longer draw.
  EXPECT_EQ(assets.blockImages[1].draw(0, 0, 0xFFFFFFFFu, 0, 0, 0, 1, 1), gfx::kFail);
}

TEST_F(GameFolder, NoDeviceMeansFailureAndNoPictureIsRead) {
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  world::Options options;
  Device device;
  Assets assets;
  world::RecordingMessageBoxes messages;
  EXPECT_EQ(createDeviceAndLoadAssets(options, world::shippedPackLayout(folder_, "snd"),
                                      gfx::DisplayRequest{}, device, assets, messages),
            gfx::kFail);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Cannot Create Device!");
  EXPECT_EQ(assets.logoImage.fileName(), "");
  releaseDevice(device, assets);
}

}  // namespace
}  // namespace mdx::render
