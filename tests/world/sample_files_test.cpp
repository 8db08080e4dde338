#include <gtest/gtest.h>

#include "world/game_state.h"

namespace mdx::world {
namespace {

TEST(SampleEffects, AreRequestedOnlyWhenSoundIsEnabled) {
  RecordingSampleSink sink;
  GameState game(&sink, nullptr);
  game.playSample(Sample::Run);
  EXPECT_TRUE(sink.played.empty());
  game.options.soundEnabled = 1;
  game.playSample(Sample::Stick);
  ASSERT_EQ(sink.played.size(), 1u);
  EXPECT_EQ(sink.played[0], Sample::Stick);
  EXPECT_STREQ(sampleFile(Sample::Stick), "media/stick.wav");
}

}  // namespace
}  // namespace mdx::world
