#include <cstdint>
#include <string>
#include <string_view>

#include "world/level_format.h"

// Any bytes as a pack's pref.ini: levelCount must be what the second line says by the level
// files' number rules, worked out here by hand from the bytes. The bytes never touch the disk.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::world;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const int32_t levelCount = readLevelCount(text);

  // The second line by hand: after the first line break, up to the next one.
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
  if (levelCount != expected) __builtin_trap();
  return 0;
}
