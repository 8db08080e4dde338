// The How to play pages as drawn: every device the player meets shown with the picture the
// level uses, inside the pages' frame, and the pages in place of what lies behind them.
#include "render/how_to_play.h"

#include <algorithm>
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

// The keys the pages name are the player's: after the restart, steering and paging keys are
// bound elsewhere (and the restart key's pad button taken away), every text says so.
TEST_F(HowToPlayDrawing, TextsNameTheKeysThePlayerHasBound) {
  state.keys.howToPage = 1;
  std::vector<std::string> texts = textsOf(frame());
  const auto shows = [&texts](const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  };
  EXPECT_TRUE(shows("Stuck? R (pad: Y) restarts the level."));
  EXPECT_TRUE(shows("First the pieces fall: Left and Right steer"));
  EXPECT_TRUE(
      shows("Left / Right (pad: d-pad left / d-pad right)  turn the page      "
            "Esc (pad: B)  back"));

  state.keyLabels.keys[world::kCommandRestart] = "Backspace";
  state.keyLabels.pads[world::kCommandRestart] = "";
  state.keyLabels.keys[world::kCommandLeft] = "A";
  state.keyLabels.keys[world::kCommandRight] = "D";
  state.keyLabels.pads[world::kCommandRight] = "left shoulder";
  state.keyLabels.keys[world::kCommandDrop] = "S";
  texts = textsOf(frame());
  EXPECT_TRUE(shows("Stuck? Backspace restarts the level."));
  EXPECT_TRUE(shows("First the pieces fall: A and D steer"));
  EXPECT_TRUE(shows("them, S drops one fast."));
  EXPECT_TRUE(
      shows("A / D (pad: d-pad left / left shoulder)  turn the page      "
            "Esc (pad: B)  back"));
  for (const std::string& text : texts) EXPECT_EQ(text.find("{}"), std::string::npos) << text;
}

}  // namespace
}  // namespace mdx::render::testing
