// Whole frames drawn on SDL's software renderer with the game's generated pictures, compared
// at half size with the reference pictures in tests/render/golden. The frames themselves are
// written full size to <build>/golden-frames for a look. MDX_UPDATE_GOLDEN=1 rewrites the
// references from the current drawing.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/key_bindings.h"
#include "gfxlib/sdl_backend.h"
#include "gfxlib/sdl_display.h"
#include "render/assets.h"
#include "render/overlays.h"
#include "render/scene.h"
#include "world/game_state.h"
#include "world/level_meta.h"
#include "world/pack_list.h"

namespace mdx::render {
namespace {

namespace fs = std::filesystem;
using world::GameState;

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, row by row
};

void put(world::LevelGrid& grid, int row, int column, int32_t code) {
  grid[static_cast<size_t>(world::cellIndex(row, column))] = code;
}

// A level with a bit of everything: floor, platforms, conveyors, lift, stairs, swing bar,
// switch, bomb, blinker, the exit and the robot.
void buildLevel(GameState& s) {
  world::World& w = s.world;
  for (int c = 0; c < world::kColumns; ++c) put(w.blockLayer, 25, c, 1 + c % 8);
  for (int c = 4; c <= 12; ++c) put(w.blockLayer, 18, c, 20 + c % 3);
  for (int c = 20; c <= 30; ++c) put(w.blockLayer, 14, c, 33 + c % 4);
  const int32_t conveyor[] = {42, 43, 43, 44};
  for (int i = 0; i < 4; ++i) put(w.blockLayer, 18, 13 + i, conveyor[i]);
  put(w.blockLayer, 24, 5, world::kRobot);
  put(w.blockLayer, 17, 23, world::kGateFiller);
  put(w.blockLayer, 17, 24, world::kGateFiller);
  for (int r = 15; r <= 23; ++r) put(w.deviceLayer, r, 18, world::kLiftShaft);
  put(w.deviceLayer, 24, 18, world::kLiftCar);
  put(w.deviceLayer, 24, 17, world::kLiftButton);
  put(w.deviceLayer, 24, 8, world::kStairA);
  put(w.deviceLayer, 23, 9, world::kStairB);
  put(w.deviceLayer, 17, 22, world::kSwingBar);
  put(w.deviceLayer, 24, 25, world::kBarSwitch);
  put(w.deviceLayer, 24, 30, world::kBomb);
  put(w.deviceLayer, 24, 31, world::kBlinker);
  put(w.deviceLayer, 10, 5, world::kWheel);
  put(w.deviceLayer, 24, 2, 1);
  put(w.deviceLayer, 24, 3, 9);
  put(w.deviceLayer, 13, 28, world::kExit);
  w.lightX = 19.0f * 28 - 2;
  w.lightY = 19.0f * 13 - 39;
  w.pieceTypes = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3};
}

// The frame loop's start values with the clocks at chosen points.
void startValues(GameState& s, int32_t gameState, float waveClock) {
  world::Scene& c = s.scene;
  s.progress.gameState = gameState;
  c.fadeLevel = c.lightLevel1 = c.lightLevel2 = 255;
  c.robotScale = 1.0f;
  c.robotPivotX = 8.0f;
  c.robotPivotY = 25.0f;
  c.waveClock = waveClock;
  c.landscapeClock = 45.0f + waveClock;
  c.landscapeAngle = 4.0f * std::sin(waveClock * 3.141592654f / 180.0f);
  c.parallax1X = {-120.0f, 519.0f};
  c.parallax2X = {-300.0f, 339.0f};
  s.world.landscapeChoice = 1;
  s.world.parallax1On = 1;
  s.world.parallax2Mode = 2;
  s.keyLabels = app::defaultKeyLabels();
}

void titleScene(GameState& s) {
  startValues(s, world::StateTitle, 20.0f);
  s.packTitle = "The Machine Works";
}

// The title's level choice, on a level the player took two hints in.
void titleHintsScene(GameState& s) {
  startValues(s, world::StateTitle, 20.0f);
  s.keys.titleLevelLimit = 12;
  s.keys.titleLevel = 7;
  s.hint.usedPerLevel = {0, 0, 0, 0, 0, 0, 0, 2};
}

// The keys page over the title, waiting for the new key of its third row, after a refusal.
void keysPageScene(GameState& s) {
  startValues(s, world::StateTitle, 20.0f);
  world::KeysPage& page = s.keysPage;
  page.open = true;
  page.listening = true;
  page.row = 2;
  page.rows = {{"UP (MENU)", "Up", "dpup"},
               {"DOWN (MENU) / DROP", "Down", "dpdown"},
               {"LEFT", "A", "dpleft"},
               {"RIGHT", "D", "dpright"},
               {"START / CONFIRM", "Space", "a"},
               {"RESTART LEVEL", "R", "y"},
               {"MUSIC ON / OFF", "F2", "back"},
               {"QUIT (AT THE PROMPT)", "Q", "-"},
               {"THIS PAGE (ON THE TITLE)", "K", "-"},
               {"PEEK AT THE FIELD (HOLD)", "Tab", "x"},
               {"HOW TO PLAY", "F1", "leftshoulder"},
               {"HINT: WHERE THE PIECE GOES", "H", "rightshoulder"}};
  page.titleHint = "K: KEYS";
}

void readyScene(GameState& s) {
  startValues(s, world::StateReady, 10.0f);
  buildLevel(s);
  s.world.landscapeChoice = 2;
  s.world.landscapeMotion = 1;
  s.scene.blinkPhase = 1;
}

void midRunScene(GameState& s) {
  startValues(s, world::StateDropping, 75.0f);
  buildLevel(s);
  s.options.blocks3D = 1;
  s.progress.levelNumber = 17;
  s.world.landscapeChoice = 3;
  s.world.landscapeMotion = 2;
  s.world.robotFrame = 1;
  s.pieces = {};
  s.pieces.pieceIndex = 3;
  s.pieces.pieceColumn = 10;
  s.pieces.pieceRow = 8;
  s.pieces.pieceShapeInBlocks = 1;
  s.pieces.pieceShape = {{{0, 20, 0}, {0, 20, 0}, {20, 20, 20}, {0, 0, 0}}};
  // The hint's ghost of the falling piece where it should land.
  s.hint.ghost = true;
  s.hint.pieceIndex = 3;
  s.hint.column = 20;
  s.hint.row = 22;
  put(s.world.blockLayer, 23, 29, world::kExplosionMarker);
  s.scene.explosionAngle = -1.0f;
  s.scene.altFramePhase = 0;
  s.scene.spinAngle = 1.2f;
  s.scene.gateAngle = 0.6f;
  s.scene.fadeLevel = 200;
  s.scene.lightLevel1 = 240;
  s.scene.lightLevel2 = 245;
}

void endingScene(GameState& s) {
  startValues(s, world::StateEnding, 40.0f);
  buildLevel(s);
  s.progress.levelNumber = 99;
  put(s.world.blockLayer, 13, 24, world::kRobot);
  s.keys.quitPrompt = 1;
}

// Page N of How to play, opened from the title; every page has its golden frame.
static_assert(world::kHowToPages == 4, "add the new page's golden frame below");
template <int32_t Page>
void howToScene(GameState& s) {
  titleScene(s);
  s.keys.howToPage = Page;
}

struct Golden {
  const char* name;
  void (*setUp)(GameState&);
};

// Averages each 2 x 2 block per channel: small references, and tolerant of single pixels.
Picture halfSize(const Picture& full) {
  Picture half{full.width / 2, full.height / 2, {}};
  half.pixels.resize(static_cast<size_t>(half.width) * half.height);
  for (int y = 0; y < half.height; ++y) {
    for (int x = 0; x < half.width; ++x) {
      uint32_t result = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sum = 0;
        for (int dy = 0; dy < 2; ++dy) {
          for (int dx = 0; dx < 2; ++dx) {
            sum += (full.pixels[static_cast<size_t>((2 * y + dy) * full.width + 2 * x + dx)] >>
                    shift) &
                   0xFFu;
          }
        }
        result |= ((sum + 2) / 4) << shift;
      }
      half.pixels[static_cast<size_t>(y * half.width + x)] = result;
    }
  }
  return half;
}

bool savePng(const Picture& picture, const fs::path& path) {
  fs::create_directories(path.parent_path());
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(picture.pixels.data()), picture.width, picture.height, 32,
      picture.width * 4, SDL_PIXELFORMAT_ARGB8888);
  const bool ok = surface != nullptr && IMG_SavePNG(surface, path.string().c_str()) == 0;
  if (surface != nullptr) SDL_FreeSurface(surface);
  return ok;
}

bool loadPng(const fs::path& path, Picture& picture) {
  SDL_Surface* loaded = IMG_Load(path.string().c_str());
  if (loaded == nullptr) return false;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (argb == nullptr) return false;
  picture.width = argb->w;
  picture.height = argb->h;
  picture.pixels.resize(static_cast<size_t>(argb->w) * argb->h);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                        y * argb->pitch);
    std::copy(row, row + argb->w, picture.pixels.begin() + static_cast<long>(y) * argb->w);
  }
  SDL_FreeSurface(argb);
  return true;
}

// Mean absolute channel difference, and the share of pixels where some channel is off by more
// than 40 levels. Sampling differences stay well below 40; one cell drawn out of place moves
// about 200 half-size pixels, over the 38 (0.05 %) allowed.
struct Difference {
  double meanChannel = 0, farShare = 0;
};

Difference compare(const Picture& a, const Picture& b) {
  Difference d;
  uint64_t total = 0, far = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int delta = std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFFu) -
                                 static_cast<int>((b.pixels[i] >> shift) & 0xFFu));
      total += static_cast<uint64_t>(delta);
      worst = std::max(worst, delta);
    }
    far += worst > 40;
  }
  d.meanChannel = static_cast<double>(total) / (3.0 * static_cast<double>(a.pixels.size()));
  d.farShare = static_cast<double>(far) / static_cast<double>(a.pixels.size());
  return d;
}

class GoldenFrameTest : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenFrameTest, MatchesReferencePicture) {
  const Golden& golden = GetParam();
  // The test runs in the game folder, where the build generates the media.
  if (!fs::exists("media/logo.tga")) GTEST_SKIP() << "no generated media in " << MDX_GAME_DIR;
  auto display = gfx::Display::openHeadless();
  ASSERT_NE(display, nullptr);
  gfx::SdlBackend backend(display->renderer());
  backend.setPictureInMemory(display->pictureInMemory());
  Assets assets;
  world::RecordingMessageBoxes messages;
  EXPECT_EQ(loadAssets(assets, backend, world::shippedPackLayout("", "mappack1"), &messages), 117);
  assets.blackWriter.create(backend, 0xFF000000u);
  assets.whiteWriter.create(backend, 0xFFFFFFFFu);

  GameState state;
  golden.setUp(state);
  drawScene(state, assets, backend);
  Picture frame;
  ASSERT_TRUE(display->readPixels(frame.pixels, frame.width, frame.height));
  const std::string file = std::string(golden.name) + ".png";
  EXPECT_TRUE(savePng(frame, fs::path(MDX_BINARY_DIR) / "golden-frames" / file));
  const Picture actual = halfSize(frame);

  const fs::path reference = fs::path(MDX_SOURCE_DIR) / "tests/render/golden" / file;
  const char* update = std::getenv("MDX_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    ASSERT_TRUE(savePng(actual, reference)) << reference;
    return;
  }
  Picture expected;
  ASSERT_TRUE(loadPng(reference, expected))
      << "no reference " << reference << "; run with MDX_UPDATE_GOLDEN=1 to make it";
  ASSERT_EQ(expected.width, actual.width);
  ASSERT_EQ(expected.height, actual.height);
  const Difference d = compare(actual, expected);
  const fs::path saved =
      fs::path(MDX_BINARY_DIR) / "golden-frames" / (golden.name + std::string("-half.png"));
  EXPECT_LE(d.meanChannel, 0.5) << "frame differs from " << reference << "; see " << saved;
  EXPECT_LE(d.farShare, 0.0005) << "frame differs from " << reference << "; see " << saved;
  if (HasFailure()) savePng(actual, saved);
}

// Every shipped level's name fits the line under the ready sign (centred on x 315) and its
// hint the line over the stuck line (ending at x 632), in the game's own font. The picture is
// only ever enlarged whole, so what fits 640 pixels fits every window size.
TEST(ShippedWords, EveryNameAndHintFitsTheScreenInTheGamesFont) {
  auto display = gfx::Display::openHeadless();
  ASSERT_NE(display, nullptr);
  gfx::SdlBackend backend(display->renderer());
  gfx::TextWriter writer;
  writer.create(backend, 0xFFFFFFFFu);
  const int32_t worstName = writer.width(levelTitle(88, std::string(28, 'W')));
  EXPECT_GT(worstName, 0) << "no font";
  EXPECT_LE(worstName, 630) << "a name of 28 wide letters";
  const world::PackList packs = world::readPackList(MDX_GAME_DIR "/mappacks.ini");
  ASSERT_FALSE(packs.entries.empty());
  size_t levels = 0;
  std::string widest;
  for (const std::string& pack : packs.entries) {
    const world::PackMeta words =
        world::readPackMeta(std::string(MDX_GAME_DIR) + "/" + pack + "/levels.ini");
    EXPECT_TRUE(words.problems.empty()) << words.problems.front();
    for (const auto& [number, meta] : words.levels) {
      ++levels;
      const std::string hint = "Hint: " + meta.hint;
      EXPECT_LE(writer.width(levelTitle(number, meta.name)), 630) << meta.name;
      EXPECT_LE(writer.width(hint), 632) << hint;
      if (writer.width(hint) > writer.width(widest)) widest = hint;
    }
  }
  EXPECT_GE(levels, 40u);
  std::printf("widest hint: %d pixels: %s\n", writer.width(widest), widest.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, GoldenFrameTest,
    ::testing::Values(Golden{"title", titleScene}, Golden{"title_hints", titleHintsScene},
                      Golden{"keys_page", keysPageScene}, Golden{"level1_ready", readyScene},
                      Golden{"mid_run", midRunScene}, Golden{"ending", endingScene},
                      Golden{"how_to_play_1", howToScene<1>},
                      Golden{"how_to_play_2", howToScene<2>},
                      Golden{"how_to_play_3", howToScene<3>},
                      Golden{"how_to_play_4", howToScene<4>}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mdx::render
