#include <cstdint>
#include <string>
#include <vector>

#include "app/saved_settings.h"
#include "fuzz/fuzz_file.h"

// Any bytes as the settings file, read as the game reads it: the settings kept are written out
// and read back unchanged, without a single note.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::app;
  const std::string path = mdx::fuzz::writeInput(data, size, ".settings");
  const SavedSettings settings = loadSettings(path, [](const std::string&) {});
  const std::string written = settingsText(settings);
  std::vector<std::string> notes;
  const SavedSettings again = parseSettings(written, notes);
  if (!notes.empty() || settingsText(again) != written) __builtin_trap();
  return 0;
}
