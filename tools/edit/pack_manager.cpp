#include "edit/pack_manager.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "edit/pack_export.h"
#include "level/pack_commands.h"
#include "world/pack_catalog.h"

namespace mdx::edit {

namespace {

namespace fs = std::filesystem;

// New files are written under this prefix first, a name no reader takes for a pack file.
constexpr char kPendingPrefix[] = ".pending-";

std::string fileName(const std::string& path) {
  return fs::path(path).filename().string();
}

bool isFile(const std::string& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

bool readIfThere(const std::string& path, std::string& text) {
  std::string ignored;
  return isFile(path) && base::readWholeFile(path, text, ignored);
}

const world::LevelMetaField& nameField() {
  return *world::findLevelMetaField("name");
}

}  // namespace

bool PackManager::open(const std::string& dir, std::string& error) {
  if (!isFile(world::PackLayout{"", dir}.prefPath())) {
    error = dir + ": not a pack (no " + world::kPrefFile + ")";
    return false;
  }
  dir_ = dir;
  undo_.clear();
  reload();
  return true;
}

void PackManager::reload() {
  ++revision_;
  levels_.clear();
  const world::PackMeta words = world::readPackMeta(level::packMetaPath(dir_));
  const int found = level::packLevelsFound(dir_);
  for (int number = 1; number <= found; ++number) {
    PackLevel entry;
    entry.number = number;
    entry.meta = words.levelMeta(number);
    const std::string source = level::packSourcePath(dir_, number);
    entry.path = isFile(source) ? source : level::packLevelPath(dir_, number);
    level::CheckedFile file;
    if (level::readCheckedFile(entry.path, file)) {
      entry.level = std::move(file.level);
    } else {
      entry.error = file.error;
    }
    levels_.push_back(std::move(entry));
  }
}

PackManager::PackFiles PackManager::readFiles() const {
  PackFiles files;
  auto take = [&](const std::string& path) {
    std::string text;
    if (readIfThere(path, text)) files[fileName(path)] = std::move(text);
  };
  const int found = level::packLevelsFound(dir_);
  for (int number = 1; number <= found; ++number) {
    take(level::packLevelPath(dir_, number));
    take(level::packSourcePath(dir_, number));
  }
  take(level::packMetaPath(dir_));
  take(world::PackLayout{"", dir_}.prefPath());
  return files;
}

bool PackManager::readSlots(std::vector<LevelSlot>& slots, std::string& error) const {
  const world::PackMeta words = world::readPackMeta(level::packMetaPath(dir_));
  if (!words.problems.empty()) {
    error = "mend the pack's words file first: " + words.problems.front();
    return false;
  }
  const PackFiles files = readFiles();
  const int found = level::packLevelsFound(dir_);
  for (int number = 1; number <= found; ++number) {
    LevelSlot slot;
    const auto dat = files.find(fileName(level::packLevelPath(dir_, number)));
    const auto source = files.find(fileName(level::packSourcePath(dir_, number)));
    if (dat == files.end()) {
      error = level::packLevelPath(dir_, number) + ": cannot be read";
      return false;
    }
    slot.dat = dat->second;
    if (source != files.end()) slot.source = source->second;
    slot.meta = words.levelMeta(number);
    slots.push_back(std::move(slot));
  }
  return true;
}

PackManager::PackFiles PackManager::filesFor(const std::vector<LevelSlot>& slots,
                                             const PackFiles& before) const {
  PackFiles after = before;
  for (int number = 1; number <= world::kMaxPackLevels; ++number) {
    after.erase(fileName(level::packLevelPath(dir_, number)));
    after.erase(fileName(level::packSourcePath(dir_, number)));
  }
  std::map<int, world::LevelMeta> words;
  for (size_t i = 0; i < slots.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    after[fileName(level::packLevelPath(dir_, number))] = slots[i].dat;
    if (!slots[i].source.empty()) {
      after[fileName(level::packSourcePath(dir_, number))] = slots[i].source;
    }
    if (!slots[i].meta.empty()) words[number] = slots[i].meta;
  }
  const std::string wordsFile = fileName(level::packMetaPath(dir_));
  if (before.count(wordsFile) || !words.empty()) after[wordsFile] = world::writePackMeta(words);
  // The count changes only when the number of levels does: pref.ini otherwise stays as it is.
  const std::string pref = world::kPrefFile;
  if (level::packLevelCount(dir_) != static_cast<int>(slots.size())) {
    after[pref] = level::packPrefText(static_cast<int>(slots.size()));
  }
  return after;
}

bool PackManager::commit(const PackFiles& before, const PackFiles& after, std::string& error) {
  std::vector<std::string> written;
  auto pending = [&](const std::string& name) { return dir_ + "/" + kPendingPrefix + name; };
  auto dropPending = [&] {
    std::error_code ignored;
    for (const std::string& name : written) fs::remove(pending(name), ignored);
  };
  for (const auto& [name, bytes] : after) {
    const auto old = before.find(name);
    if (old != before.end() && old->second == bytes) continue;
    if (!base::writeFileSafely(pending(name), bytes, error, writer_)) {
      dropPending();
      return false;
    }
    written.push_back(name);
  }
  // Every new file is whole on the disk: now they take their names, and the files the new
  // set has no more go.
  std::error_code failed;
  for (const std::string& name : written) {
    if (!failed) fs::rename(pending(name), dir_ + "/" + name, failed);
  }
  for (const auto& [name, bytes] : before) {
    if (!failed && !after.count(name)) fs::remove(dir_ + "/" + name, failed);
  }
  if (!failed) return true;
  // Only a folder gone bad between the writes and the renames gets here: the old set goes
  // back as far as the folder lets it.
  error = dir_ + ": " + failed.message();
  dropPending();
  std::string ignored;
  for (const auto& [name, bytes] : before) base::writeFileSafely(dir_ + "/" + name, bytes, ignored);
  for (const auto& [name, bytes] : after) {
    std::error_code ignoredCode;
    if (!before.count(name)) fs::remove(dir_ + "/" + name, ignoredCode);
  }
  return false;
}

void PackManager::remember(PackFiles before) {
  undo_.push_back(std::move(before));
  if (undo_.size() > kPackUndoLimit) undo_.erase(undo_.begin());
}

bool PackManager::change(const std::vector<LevelSlot>& slots, std::string& error) {
  PackFiles before = readFiles();
  if (!commit(before, filesFor(slots, before), error)) {
    reload();
    return false;
  }
  remember(std::move(before));
  reload();
  return true;
}

bool PackManager::checkNumber(int number, std::string& error) const {
  if (!isOpen()) {
    error = "no pack is open";
    return false;
  }
  if (number < 1 || number > static_cast<int>(levels_.size())) {
    error = "the pack has no level " + std::to_string(number);
    return false;
  }
  return true;
}

bool PackManager::move(int number, int delta, std::string& error) {
  std::vector<LevelSlot> slots;
  if (!checkNumber(number, error) || !readSlots(slots, error)) return false;
  const int target = number + delta;
  if (delta == 0 || target < 1 || target > static_cast<int>(slots.size())) {
    error = "level " + std::to_string(number) + " cannot move there";
    return false;
  }
  const auto from = slots.begin() + (number - 1);
  const auto to = slots.begin() + (target - 1);
  if (delta > 0) {
    std::rotate(from, from + 1, to + 1);
  } else {
    std::rotate(to, from, from + 1);
  }
  return change(slots, error);
}

bool PackManager::rename(int number, const std::string& name, std::string& error) {
  std::vector<LevelSlot> slots;
  if (!checkNumber(number, error) || !readSlots(slots, error)) return false;
  const std::string unfit = name.empty() ? "" : world::levelMetaTextProblem(nameField(), name);
  if (!unfit.empty()) {
    error = "the name " + unfit;
    return false;
  }
  LevelSlot& slot = slots[number - 1];
  if (slot.meta.name == name) {
    error = "level " + std::to_string(number) + " already has that name";
    return false;
  }
  slot.meta.name = name;
  // The source's name line follows, so building the pack again from its sources keeps the
  // name; a source that does not parse is left as it is (the pack check names it).
  level::LevelSource parsed;
  std::string ignored, updated;
  if (!slot.source.empty() && level::parseSource(slot.source, parsed, ignored)) {
    parsed.meta.name = name;
    if (level::updateSource(slot.source, parsed, updated)) slot.source = updated;
  }
  return change(slots, error);
}

bool PackManager::duplicate(int number, std::string& error) {
  std::vector<LevelSlot> slots;
  if (!checkNumber(number, error) || !readSlots(slots, error)) return false;
  if (static_cast<int>(slots.size()) >= world::kMaxPackLevels) {
    error = "a pack holds at most " + std::to_string(world::kMaxPackLevels) + " levels";
    return false;
  }
  slots.insert(slots.begin() + number, slots[number - 1]);
  return change(slots, error);
}

bool PackManager::remove(int number, std::string& error) {
  std::vector<LevelSlot> slots;
  if (!checkNumber(number, error) || !readSlots(slots, error)) return false;
  slots.erase(slots.begin() + (number - 1));
  return change(slots, error);
}

bool PackManager::addLevel(const level::LevelSource& level, const ProofStatus& proof,
                           uint64_t revision, const std::string& gameDir, int& number,
                           std::string& error) {
  if (!isOpen()) {
    error = "no pack is open";
    return false;
  }
  PackFiles before = readFiles();
  if (!exportToPack(level, proof, revision, dir_, gameDir, number, error)) return false;
  remember(std::move(before));
  reload();
  return true;
}

bool PackManager::undo(std::string& error) {
  if (undo_.empty()) {
    error = "nothing to undo in the pack";
    return false;
  }
  if (!commit(readFiles(), undo_.back(), error)) {
    reload();
    return false;
  }
  undo_.pop_back();
  reload();
  return true;
}

}  // namespace mdx::edit
