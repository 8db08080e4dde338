// The title screen: flying robots, logo, emblem, text lines and the menu bar.
#include "render/title_screen.h"

#include <gtest/gtest.h>

#include "render_fixture.h"

namespace mdx::render::testing {
namespace {

class TitleScreenTest : public RenderTest {
 protected:
  TitleScreenTest() { state.progress.gameState = world::StateTitle; }
  std::vector<RecordedCall> texts() const {
    std::vector<RecordedCall> found;
    for (const auto& call : backend.calls) {
      if (call.kind == CallKind::Text) found.push_back(call);
    }
    return found;
  }
};

TEST_F(TitleScreenTest, MenuBarMarksTheChoiceWhileTheMenuPictureStaysPut) {
  state.scene.waveClock = 30.0f;
  struct Case {
    uint8_t choice;
    float barY;
    const char* menu;
  };
  const Case cases[] = {{1, 210.5f, "media/text02.tga"},
                        {0, 254.5f, "media/text01.tga"},
                        {2, 210.5f, "media/text02.tga"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice);
    state.keys.titleChoice = c.choice;
    frame();
    expectDraw(drawsOf("media/rect01.tga").at(0), {196, c.barY, 0xFFFFFFFFu, 0.0216506f, 124, 24});
    const auto menu = drawsOf(c.menu);
    ASSERT_EQ(menu.size(), 2u);
    expectDraw(menu[0], {206, 221, 0xFF000000u});
    expectDraw(menu[1], {205, 220, 0xFFFFFFFFu});
  }
}

TEST_F(TitleScreenTest, FourRobotsRideTheLowerStripEvenWhenItIsHidden) {
  state.world.parallax2Mode = 0;
  state.scene.landscapeClock = 30.0f;
  state.scene.parallax2X = {-100.0f, 539.0f};
  struct Robot {
    int phase0, phase1;
    Expected draw;
  };
  const Robot robots[] = {{3, 4, {750.33975f, 415, 0xFFFFFFFFu, 0.155f}},
                          {2, 1, {916.83157f, 393, 0xFFFFFFFFu, -0.05f}},
                          {4, 3, {-41.33975f, 435, 0xFFFFFFFFu, 0.0f}},
                          {3, 4, {441.33975f, 430, 0xFFFFFFFFu, -0.391506f}}};
  for (int phase : {0, 1}) {
    state.scene.titleFramePhase = phase;
    frame();
    std::vector<RecordedCall> sprites;
    for (const auto& call : backend.calls) {
      if (call.kind == CallKind::Sprite) sprites.push_back(call);
    }
    ASSERT_GE(sprites.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      SCOPED_TRACE(phase * 10 + static_cast<int>(i));
      const int picture = phase == 0 ? robots[i].phase0 : robots[i].phase1;
      EXPECT_EQ(sprites[i].name, numbered("media/marvo", picture, 2, ".tga"));
      expectDraw(sprites[i].draw, robots[i].draw);
    }
  }
}

TEST_F(TitleScreenTest, LogoEmblemAndTextLinesShadowedInBlackThenWhiteEvenFaded) {
  state.scene.fadeLevel = 0;
  frame();
  // Faded out, the pictures are drawn black; where they stand the golden title frame pins.
  EXPECT_EQ(drawsOf("media/logo.tga").at(0).colour, 0xFF000000u);
  EXPECT_EQ(drawsOf("media/dx.tga").at(0).colour, 0xFF000000u);
  const std::vector<RecordedCall> texts = this->texts();
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0].name, kVersionLine);
  EXPECT_EQ(texts[1].name, kOwnershipLine);
  EXPECT_EQ(texts[2].name, "F1  How to play");
  // Each line first as a black shadow one pixel right of and below the white line over it.
  for (size_t i = 0; i < 3; ++i) {
    const RecordedCall& shadow = texts[i];
    const RecordedCall& line = texts[i + 3];
    EXPECT_EQ(shadow.name, line.name);
    EXPECT_EQ(shadow.draw.colour, 0xFF000000u);
    EXPECT_EQ(line.draw.colour, 0xFFFFFFFFu);
    EXPECT_EQ(shadow.draw.x, line.draw.x + 1);
    EXPECT_EQ(shadow.draw.y, line.draw.y + 1);
  }
  EXPECT_GT(texts[4].draw.y, texts[3].draw.y);  // the ownership line under the version
  EXPECT_EQ(kVersionLine, "Marvolen DX - version 1.0");
}

// The chosen pack's name, centred under the menu, and the How to play key the player has
// bound, moved left when its name is long so the line still ends inside the picture.
TEST_F(TitleScreenTest, ShowsThePacksNameAndTheBoundHowToPlayKey) {
  const auto whiteText = [this](const std::string& text) -> const RecordedCall* {
    for (const RecordedCall& call : backend.calls) {
      if (call.kind == CallKind::Text && call.name == text && call.draw.colour == 0xFFFFFFFFu)
        return &call;
    }
    return nullptr;
  };
  frame();
  EXPECT_EQ(texts().size(), 6u) << "no pack name given, none shown";
  state.packTitle = "Fire and Ice";
  frame();
  const RecordedCall* name = whiteText("Fire and Ice");
  ASSERT_NE(name, nullptr);
  const int32_t width = RecordingBackend::kCharWidth * 12;
  EXPECT_EQ(name->draw.x, static_cast<float>(320 - width / 2));
  EXPECT_GT(name->draw.y, 300.0f) << "under the level choice";

  state.keyLabels.keys[world::kCommandHowTo] = "F3";
  frame();
  ASSERT_NE(whiteText("F3  How to play"), nullptr);
  EXPECT_EQ(whiteText("F3  How to play")->draw.x, 510.0f);
  state.keyLabels.keys[world::kCommandHowTo] = "Keypad Multiply";
  frame();
  const RecordedCall* howTo = whiteText("Keypad Multiply  How to play");
  ASSERT_NE(howTo, nullptr);
  EXPECT_EQ(howTo->draw.x + RecordingBackend::kCharWidth * 28, 632.0f);
}

TEST_F(TitleScreenTest, LevelChoiceShowsOnlyOnceALaterLevelIsReached) {
  frame();  // no level reached: the title as it always was
  EXPECT_TRUE(drawsOf("media/text04.tga").empty());
  state.keys.titleLevelLimit = 12;
  state.keys.titleLevel = 7;
  frame();
  const auto label = drawsOf("media/text04.tga");
  ASSERT_EQ(label.size(), 2u);  // shadow, then the label
  const auto tens = drawsOf("media/0.tga");
  const auto units = drawsOf("media/7.tga");
  ASSERT_EQ(tens.size(), 2u);
  ASSERT_EQ(units.size(), 2u);
  // Below the menu, the digits to the right of the label, in the label's row.
  EXPECT_GT(label[1].y, 255.0f + 24.0f);
  EXPECT_GT(tens[1].x, label[1].x);
  EXPECT_GT(units[1].x, tens[1].x);
  EXPECT_EQ(units[1].y, label[1].y);

  // Arrows say which way Left and Right can still move the choice.
  const auto arrows = [this] {
    std::string shown;
    for (const auto& call : frame()) {
      if (call.kind == CallKind::Text && (call.name == "<" || call.name == ">")) shown += call.name;
    }
    return shown;
  };
  EXPECT_EQ(arrows(), "<<>>");  // each shadowed
  state.keys.titleLevel = 12;
  EXPECT_EQ(arrows(), "<<");
  state.keys.titleLevel = 1;
  EXPECT_EQ(arrows(), ">>");

  // The hints used in the chosen level, right of the label and its arrow.
  state.hint.usedPerLevel = {0, 1, 0, 0, 0, 0, 0, 2};
  const auto hintsShown = [this] {
    std::vector<std::string> shown;
    for (const auto& call : frame()) {
      if (call.kind == CallKind::Text && call.name.find("hint") != std::string::npos) {
        shown.push_back(call.name);
      }
    }
    return shown;
  };
  EXPECT_EQ(hintsShown(), (std::vector<std::string>{"1 hint", "1 hint"}));
  state.keys.titleLevel = 7;
  EXPECT_EQ(hintsShown(), (std::vector<std::string>{"2 hints", "2 hints"}));
  state.keys.titleLevel = 12;
  EXPECT_TRUE(hintsShown().empty());
}

}  // namespace
}  // namespace mdx::render::testing
