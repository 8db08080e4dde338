#include <cstdint>
#include <string_view>

#include "world/level_meta.h"

// Every text the words reader keeps must fit its field again, so the pack can be written back
// unchanged and the game never shows a line longer than the screen takes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const mdx::world::PackMeta words = mdx::world::parsePackMeta(text, "levels.ini");
  for (const auto& [number, meta] : words.levels) {
    for (const mdx::world::LevelMetaField& field : mdx::world::levelMetaFields()) {
      if (!mdx::world::levelMetaTextProblem(field, meta.*field.text).empty()) __builtin_trap();
    }
  }
  const mdx::world::PackMeta again = mdx::world::parsePackMeta(
      mdx::world::writePackMeta(words.levels, words.packName), "levels.ini");
  if (!mdx::world::packNameProblem(words.packName).empty()) __builtin_trap();
  if (!again.problems.empty() || again.packName != words.packName) __builtin_trap();
  return 0;
}
