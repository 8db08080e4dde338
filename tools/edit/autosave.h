// Autosave of the open level: its source written beside the saved one ("NAME.src.autosave")
// every minute of editing and before a play-test, removed on a normal save or a clean exit, and
// offered at the next start when it is newer than the source. Time comes from an injected clock
// so that the minute can be advanced without waiting.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "edit/edit_model.h"

namespace mdx::edit {

using EditorClock = std::function<std::chrono::steady_clock::time_point()>;

constexpr std::chrono::seconds kAutosaveInterval{60};

// The autosave file of a level source.
std::string autosavePath(const std::string& sourcePath);
// True when the source has an autosave written after the source itself was last written.
bool autosaveNewer(const std::string& sourcePath);

// Opens the source and puts its autosave in place as one undo step, so the level shows as
// unsaved and undo returns to the source as saved. False with error when either does not read.
bool recoverAutosave(EditModel& model, const std::string& sourcePath, std::string& error);

class Autosaver {
 public:
  explicit Autosaver(EditorClock clock);
  // Writes the level when a minute has passed since the last write and it has unsaved edits.
  // False with error set when writing failed; true otherwise.
  bool tick(const EditModel& model, std::string& error);
  // Writes the level now when it has unsaved edits (before a play-test).
  bool saveNow(const EditModel& model, std::string& error);
  // Removes the level's autosave (after a normal save, a clean exit or a discarded recovery).
  void discard(const std::string& sourcePath);

 private:
  EditorClock clock_;
  std::chrono::steady_clock::time_point lastWrite_;
};

}  // namespace mdx::edit
