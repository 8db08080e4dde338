#include "edit/autosave.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "base/files.h"

namespace mdx::edit {

namespace fs = std::filesystem;

std::string autosavePath(const std::string& sourcePath) {
  return sourcePath + ".autosave";
}

bool autosaveNewer(const std::string& sourcePath) {
  std::error_code error;
  const auto saved = fs::last_write_time(autosavePath(sourcePath), error);
  if (error) return false;
  const auto source = fs::last_write_time(sourcePath, error);
  return error || saved > source;  // a source gone since is recovered from the autosave
}

bool recoverAutosave(EditModel& model, const std::string& sourcePath, std::string& error) {
  std::string text;
  level::LevelSource recovered;
  if (!base::readWholeFile(autosavePath(sourcePath), text, error) ||
      !level::parseSource(text, recovered, error) || !model.open(sourcePath, error)) {
    return false;
  }
  model.replaceLevel(recovered);
  return true;
}

Autosaver::Autosaver(EditorClock clock) : clock_(std::move(clock)), lastWrite_(clock_()) {}

bool Autosaver::tick(const EditModel& model, std::string& error) {
  if (clock_() - lastWrite_ < kAutosaveInterval) return true;
  return saveNow(model, error);
}

bool Autosaver::saveNow(const EditModel& model, std::string& error) {
  lastWrite_ = clock_();
  if (model.path().empty() || !model.dirty()) return true;
  return base::writeFileSafely(autosavePath(model.path()), level::writeSource(model.level()),
                               error);
}

void Autosaver::discard(const std::string& sourcePath) {
  std::error_code ignored;
  fs::remove(autosavePath(sourcePath), ignored);
}

}  // namespace mdx::edit
