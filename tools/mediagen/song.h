// Songs as note data: the text notation of the .song files and its parser.
//
// A song file holds, one per line ('#' at the start of a word begins a comment):
//   title <words>                   what the track is (for people reading the file)
//   tempo <beats per minute>        a beat is four steps
//   echo <steps> <feedback> <mix>   the echo shared by all voices that ask for it
//   instrument <name> <wave> [key value]...
//       waves: sine triangle square pulse saw bell pluck pad
//       keys:  volume attack decay sustain release (seconds/levels) pan (-1..1)
//              cutoff (Hz, 0 = open) vibrato (Hz) depth (semitones) duty detune echo (0..1)
//   drums <name> [volume v] [echo e]
//   pattern <name>  ...  end        one line per voice: <instrument> <steps...>
//       a step is a note (C4, F#3, Bb5), '.' rest, '-' hold the previous note;
//       drum steps are k kick, s snare, h closed hat, o open hat, t tom, c crash, '.' rest;
//       '|' only helps the eye
//   song <pattern>[+/-semitones] ...   the order; transposing moves every pitched voice
#pragma once

#include <string>
#include <vector>

namespace mdx::media {

enum class Wave { Sine, Triangle, Square, Pulse, Saw, Bell, Pluck, Pad };

struct Instrument {
  std::string name;
  bool drums = false;
  Wave wave = Wave::Square;
  double volume = 0.3, attack = 0.005, decay = 0.2, sustain = 0.6, release = 0.08;
  double pan = 0, cutoff = 0, vibrato = 0, depth = 0, duty = 0.5, detune = 0, echo = 0;
};

// One note or drum hit: `pitch` is a MIDI note number (60 = middle C) or, for drums, the
// drum letter; `length` is in steps (held steps included).
struct NoteEvent {
  int instrument;
  int step;
  int length;
  int pitch;
};

struct Pattern {
  std::string name;
  int steps = 0;
  std::vector<NoteEvent> notes;  // steps relative to the pattern's start
};

struct SongEntry {
  int pattern;
  int transpose;
};

struct Song {
  std::string title;
  double tempo = 120;
  int echoSteps = 3;
  double echoFeedback = 0.3, echoMix = 0.25;
  std::vector<Instrument> instruments;
  std::vector<Pattern> patterns;
  std::vector<SongEntry> order;

  // Steps in one pass through the song order.
  int totalSteps() const;
  // Every note of one pass, on the song's own step count, transposition applied.
  std::vector<NoteEvent> flatten() const;
};

// Parses a song; on a mistake returns false and sets `error` to "line N: what is wrong".
bool parseSong(const std::string& text, Song& song, std::string& error);

// "C4" is 60, "A4" 69, "F#3" 54, "Bb5" 82; returns -1 for anything else.
int parseNoteName(const std::string& token);

}  // namespace mdx::media
