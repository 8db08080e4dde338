#include <cstdint>
#include <string>
#include <vector>

#include "app/saved_progress.h"
#include "fuzz/fuzz_file.h"

// Any bytes as the player's progress file, read as the game reads it: whatever is kept is a
// record the game writes out and reads back unchanged, without a single note.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mdx::app;
  const std::string path = mdx::fuzz::writeInput(data, size, ".progress");
  ProgressFile file(path, [](const std::string&) {});
  file.load();
  const std::string written = file.progress().text();
  SavedProgress again;
  std::vector<std::string> notes;
  again.parse(written, notes);
  if (!notes.empty() || again.text() != written) __builtin_trap();
  return 0;
}
