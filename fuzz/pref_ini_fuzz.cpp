// libs: mdx_world
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "world/game_state.h"
#include "world/line_reader.h"

namespace {

// A map-pack folder of this process with one empty level, level 1.
const std::filesystem::path& packFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path dir = "/tmp/mdx-fuzz-pack-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    std::ofstream level(dir / "level01.dat", std::ios::binary);
    for (int line = 0; line < 1938; ++line) level << "0\n";
    return dir;
  }();
  return folder;
}

}  // namespace

// Any bytes as the pack's pref.ini: level start reads it, then loads the pack's level 1.
// levelCount must be what the second line says by the level files' number rules.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::world;
  const std::filesystem::path& pack = packFolder();
  {
    std::ofstream pref(pack / "pref.ini", std::ios::binary | std::ios::trunc);
    pref.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  RecordingMessageBoxes messages;
  GameState game(nullptr, &messages);
  game.options.packName = pack.string();
  game.progress.levelNumber = 1;
  game.startLevel(1);
  if (!messages.shown.empty()) __builtin_trap();  // level 1 exists

  // The second line by hand: after the first line break, up to the next one.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const size_t firstBreak = text.find('\n');
  int32_t expected = 0;
  size_t firstLength = firstBreak;  // a CR right before the line feed is not part of the line
  if (firstBreak != std::string::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
    --firstLength;
  if (firstBreak != std::string::npos && firstLength <= kMaxLineChars) {
    std::string second = text.substr(firstBreak + 1);
    second = second.substr(0, second.find('\n'));
    if (!second.empty() && second.back() == '\r') second.pop_back();
    if (second.size() > kMaxLineChars) second.resize(kMaxLineChars);
    expected = parseValue(second);
  }
  if (game.progress.levelCount != expected) __builtin_trap();
  return 0;
}
