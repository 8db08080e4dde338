#include <cstdint>
#include <sstream>
#include <string>

#include "app/replay.h"

// Any bytes as a replay file: it is refused with a message or read; a replay read writes out
// and reads back the same, and a short one plays headless (with no game files, so every
// level is empty) without a sanitizer report.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::app;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string error;
  const std::optional<Replay> replay = readReplay(in, error);
  if (!replay) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  std::stringstream written;
  writeReplay(written, *replay);
  const std::optional<Replay> again = readReplay(written, error);
  if (!again || again->steps.size() != replay->steps.size() ||
      again->packName != replay->packName || again->packHash != replay->packHash ||
      again->version != replay->version || again->startLevel != replay->startLevel ||
      again->record != replay->record || again->timerRule != replay->timerRule)
    __builtin_trap();
  // Whatever pack the replay names, its files are looked for in a folder that does not exist.
  const mdx::world::PackLayout nowhere{"/nonexistent-game-folder", "/nonexistent-game-folder/p"};
  if (replay->steps.size() <= 300) runReplay(*replay, nowhere);
  return 0;
}
