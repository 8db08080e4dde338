// The How to play pages as drawn: every device the player meets shown with the picture the
// level uses, inside the pages' frame, and the pages in place of what lies behind them.
#include "render/how_to_play.h"

#include <set>

#include "render_fixture.h"
#include "world/cell_table.h"

namespace mdx::render::testing {
namespace {

class HowToPlayDrawing : public RenderTest {
 protected:
  // The sprite files drawn on every page together.
  std::set<std::string> filesOfAllPages() {
    std::set<std::string> files;
    for (int32_t page = 1; page <= world::kHowToPages; ++page) {
      state.keys.howToPage = page;
      frame();
      for (const std::string& file : spriteFiles()) files.insert(file);
    }
    return files;
  }
  std::vector<std::string> textsOf(const std::vector<RecordedCall>& calls) const {
    std::vector<std::string> texts;
    for (const RecordedCall& call : calls) {
      if (call.kind == CallKind::Text) texts.push_back(call.name);
    }
    return texts;
  }
};

TEST_F(HowToPlayDrawing, EveryDeviceAndTheConveyorAppearWithTheLevelsOwnPicture) {
  const std::set<std::string> files = filesOfAllPages();
  for (int32_t device :
       {world::kStairA, world::kStairB, world::kLiftCar, world::kLiftShaft, world::kLiftButton,
        world::kSwingBar, world::kBarSwitch, world::kBomb, world::kExit}) {
    EXPECT_TRUE(files.count(numbered("media/block", 100 + device, 3, ".tga")))
        << "device " << device;
  }
  int conveyors = 0;
  for (int32_t code = 1; code <= world::kLastPicturedBlock; ++code) {
    if (world::isConveyor(code))
      conveyors += static_cast<int>(files.count(numbered("media/block", code, 3, ".tga")));
  }
  EXPECT_GT(conveyors, 0);
  EXPECT_TRUE(files.count("media/marvo01.tga"));  // the robot
}

TEST_F(HowToPlayDrawing, ExamplesStayInsideTheFrameOnEveryPage) {
  for (int32_t page = 1; page <= world::kHowToPages; ++page) {
    state.keys.howToPage = page;
    frame();
    for (const RecordedCall& call : backend.calls) {
      const bool example =
          call.name.rfind("media/block", 0) == 0 || call.name.rfind("media/marvo", 0) == 0;
      if (call.kind != CallKind::Sprite || !example) continue;
      EXPECT_GE(call.draw.x, 16.0f) << call.name << " on page " << page;
      EXPECT_LE(call.draw.x, 600.0f) << call.name << " on page " << page;
      EXPECT_GE(call.draw.y, 16.0f) << call.name << " on page " << page;
      EXPECT_LE(call.draw.y, 440.0f) << call.name << " on page " << page;
    }
  }
}

TEST_F(HowToPlayDrawing, PagesTakeThePlaceOfTheTitleAndTheLevelAndNameTheirNumber) {
  state.progress.gameState = world::StateTitle;
  state.keys.howToPage = 2;
  frame();
  EXPECT_TRUE(drawsOf("media/logo.tga").empty());
  EXPECT_EQ(drawsOf("media/rect02.tga").size(), 1u);
  const std::vector<std::string> texts = textsOf(backend.calls);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "2 / 4"), texts.end());

  state.progress.gameState = world::StateReady;
  state.progress.levelNumber = 1;
  setDevice(5, 5, world::kBomb);
  frame();
  EXPECT_TRUE(drawsOf("media/text03.tga").empty());  // no ready sign over the pages
  EXPECT_TRUE(drawsOf("media/text06.tga").empty());  // nor the key help
  state.keys.howToPage = 0;
  frame();
  EXPECT_TRUE(drawsOf("media/rect02.tga").empty());
  EXPECT_EQ(drawsOf("media/text06.tga").size(), 2u);  // the key help, shadowed, is back
}

}  // namespace
}  // namespace mdx::render::testing
