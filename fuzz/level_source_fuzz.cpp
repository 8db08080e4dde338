#include <cstdint>
#include <string>

#include "level/level_source.h"

namespace {

using mdx::level::LevelSource;

// A level read from either form survives the trip through the source text unchanged: the
// source parses again and gives the same level file, byte for byte.
void checkSourceRoundTrip(const LevelSource& level) {
  const std::string dat = mdx::level::writeDat(level);
  LevelSource again;
  std::string error;
  if (!mdx::level::parseSource(mdx::level::writeSource(level), again, error)) __builtin_trap();
  if (mdx::level::writeDat(again) != dat) __builtin_trap();
}

}  // namespace

// Any bytes, as a level source and as a level file. Each reader either refuses with a message
// or gives a level that converts back without loss.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  LevelSource fromSource;
  if (mdx::level::parseSource(text, fromSource, error)) {
    checkSourceRoundTrip(fromSource);
  } else if (error.empty()) {
    __builtin_trap();
  }
  error.clear();
  LevelSource fromDat;
  if (mdx::level::readDat(text, fromDat, error)) {
    if (mdx::level::writeDat(fromDat) != text) __builtin_trap();  // a level file is kept as is
    checkSourceRoundTrip(fromDat);
  } else if (error.empty()) {
    __builtin_trap();
  }
  return 0;
}
