// The replay file: a recorded run of the game as plain text. It holds the options that matter
// to the game and, for each call into the game object, the clock readings the call made and
// the keys held at its keyboard read.
//
// The text format, one item per line ('#' starts a comment line, blank lines are skipped):
//   marvolen-replay 2
//   version <text>              the program version that recorded it (optional)
//   pack <name>                 the map pack (default: the default pack)
//   packhash <16 hex digits>    hash of the pack's level files when recorded (optional)
//   level <n>                   the level the session started on (optional, 0 = the title)
//   record <n>                  the player's saved record for the pack when the session began:
//                               the highest level the title let them start, 1 to 98 (optional)
//   windowed <0|1>              (default 1)
//   timers <catch-up|frame-bound>   the timer rule the session ran with (default catch-up)
// then one line per call into the game, all of the same shape:
//   <call> <readings> [<key>...]
// where <readings> is "<t>[,<t>...]", the call's clock readings in milliseconds, or "-" for
// a call that read no clock, and each <key> is a key held at the call's keyboard read, as two
// hex digits. The calls:
//   start        the start-up (no keys)
//   frame        one frame
//   draw         a drawing without timers (older sessions: a repaint after an event)
//   escape       the Escape key released
//   fullscreen   the window switched to full screen (Alt+Enter)
//   window       full screen switched back to a window
// When the game asks for more readings than a line gives, the last one repeats, so
// hand-written replays need only one reading per line.
//
// Version 1 files, made before the timers kept their periods, play with the frame-bound rule.
// Their escape, fullscreen and window lines hold nothing the reader uses, and a draw line
// must begin with a reading; a bare "draw" is read as a draw that read no clock.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/timers.h"
#include "world/pack_catalog.h"

namespace mdx::app {

enum class ReplayEvent { Start, Frame, Draw, Escape, ToFullScreen, ToWindow };

struct ReplayStep {
  ReplayEvent event = ReplayEvent::Frame;
  std::vector<uint32_t> readings;  // clock readings during the step, in order
  std::vector<uint8_t> keysDown;   // key codes held at the step's keyboard read
};

struct Replay {
  std::string version;  // empty: not recorded, not checked
  std::string packName = world::kDefaultPackName;
  std::string packHash;    // empty: not recorded, not checked
  int32_t startLevel = 0;  // 0: the session started on the title
  // The player's record when the session began. Unset in replays made before it was recorded:
  // those play with no record at all, as they always did.
  std::optional<int32_t> record;
  uint8_t windowed = 1;
  TimerRule timerRule = TimerRule::CatchUp;
  std::vector<ReplayStep> steps;  // the first is the start-up
};

// Reads a replay. On bad input returns nothing and sets error to a message naming the line.
std::optional<Replay> readReplay(std::istream& in, std::string& error);

// Writes a replay in the current version of the format; readReplay reads it back unchanged.
void writeReplay(std::ostream& out, const Replay& replay);

}  // namespace mdx::app
