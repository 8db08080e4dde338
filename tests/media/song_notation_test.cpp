// The note notation: names, holds, transposition, and clear messages for broken files.
#include <gtest/gtest.h>

#include "mediagen/song.h"

namespace mdx::media {
namespace {

const char* const kSmallSong = R"(
title test   # a comment
tempo 120
instrument lead square volume 0.2
drums kit
pattern a
lead C4 - - . | E4 . F#4 -   # sharps are not comments
kit  k . h .
end
song a a+2
)";

TEST(SongNotation, NoteNamesFollowMidiNumbers) {
  EXPECT_EQ(parseNoteName("C4"), 60);
  EXPECT_EQ(parseNoteName("A4"), 69);
  EXPECT_EQ(parseNoteName("F#3"), 54);
  EXPECT_EQ(parseNoteName("Bb5"), 82);
  EXPECT_EQ(parseNoteName("C0"), 12);
  for (const char* bad : {"H4", "C", "C#", "C44", "x", "", "c-1"}) {
    EXPECT_EQ(parseNoteName(bad), -1) << bad;
  }
}

TEST(SongNotation, HoldsLengthenNotesAndTranspositionSparesDrums) {
  Song song;
  std::string error;
  ASSERT_TRUE(parseSong(kSmallSong, song, error)) << error;
  EXPECT_EQ(song.title, "test");
  ASSERT_EQ(song.patterns.size(), 1u);
  EXPECT_EQ(song.patterns[0].steps, 8);
  EXPECT_EQ(song.totalSteps(), 16);
  const std::vector<NoteEvent> notes = song.flatten();
  ASSERT_EQ(notes.size(), 10u);
  EXPECT_EQ(notes[0].pitch, 60);
  EXPECT_EQ(notes[0].length, 3);
  EXPECT_EQ(notes[2].pitch, 66);  // F#4, the sharp survives the comment rule
  EXPECT_EQ(notes[2].length, 2);
  // Second pass: two semitones up, eight steps later; the drum letters are unchanged.
  EXPECT_EQ(notes[5].pitch, 62);
  EXPECT_EQ(notes[5].step, 8);
  EXPECT_EQ(notes[8].pitch, 'k');
  EXPECT_EQ(notes[9].pitch, 'h');
}

TEST(SongNotation, MistakesAreReportedWithTheirLine) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"tempo fast\n", "line 1"},
      {"instrument a wobble\n", "unknown wave"},
      {"instrument a sine colour 3\n", "unknown setting"},
      {"instrument a sine pan 4\n", "out of range"},
      {"instrument a sine\npattern p\nb C4\nend\n", "line 3: unknown instrument 'b'"},
      {"instrument a sine\npattern p\na - C4\nend\n", "holds nothing"},
      {"instrument a sine\npattern p\na C4 Q9\nend\n", "'Q9' is not a note"},
      {"drums d\npattern p\nd k z\nend\n", "'z' is not a drum"},
      {"instrument a sine\npattern p\na C4\n", "has no end"},
      {"instrument a sine\npattern p\na C4\nend\n", "no order"},
      {"instrument a sine\npattern p\na C4\nend\nsong q\n", "unknown pattern 'q'"},
      {"instrument a sine\npattern p\na C4\nend\nsong p+x\n", "bad transposition"},
      {"instrument a sine\npattern p\nend\n", "is empty"},
      {"wobble\n", "unknown word"},
  };
  for (const auto& c : cases) {
    Song song;
    std::string error;
    EXPECT_FALSE(parseSong(c.text, song, error)) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << " gave: " << error;
  }
}

TEST(SongNotation, WindowsLineEndingsAreAccepted) {
  Song song;
  std::string error;
  EXPECT_TRUE(
      parseSong("instrument a sine\r\npattern p\r\na C4 -\r\nend\r\nsong p\r\n", song, error))
      << error;
  EXPECT_EQ(song.totalSteps(), 2);
}

}  // namespace
}  // namespace mdx::media
