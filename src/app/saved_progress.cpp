#include "app/saved_progress.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace mdx::app {
namespace {

// How notes name the file.
constexpr const char* kWhat = "progress";

// The hint lines' key: "hints/LEVEL/NAME".
constexpr const char* kHintsPrefix = "hints/";

// A number of decimal digits only, 1 to most; 0 when it is none.
int parseCount(const std::string& text, int most) {
  if (text.empty() || text.size() > 3) return 0;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= most ? value : 0;
}

int parseLevel(const std::string& text) {
  return parseCount(text, kMaxRecordedLevel);
}

// A pack name that reads back as the one line it was written on.
bool keptName(const std::string& pack) {
  return !pack.empty() && pack.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

void SavedProgress::parse(const std::string& text, std::vector<std::string>& notes) {
  for (const TextLine& line : nonEmptyLines(text)) {
    if (line.text.rfind(kHintsPrefix, 0) == 0) {
      if (!parseHintLine(line.text)) {
        notes.push_back("line " + std::to_string(line.number) +
                        " is not hints/LEVEL/NAME=COUNT (1 to " +
                        std::to_string(kMaxRecordedHints) + "): " + quotedLine(line.text));
      }
      continue;
    }
    const std::size_t equals = line.text.rfind('=');
    const int level = equals == std::string::npos ? 0 : parseLevel(line.text.substr(equals + 1));
    if (equals == 0 || level == 0) {
      notes.push_back("line " + std::to_string(line.number) + " is not NAME=LEVEL (1 to " +
                      std::to_string(kMaxRecordedLevel) + "): " + quotedLine(line.text));
      continue;
    }
    int& record = records_[line.text.substr(0, equals)];
    record = std::max(record, level);
  }
}

std::string SavedProgress::text() const {
  std::string out;
  for (const auto& [pack, level] : records_) out += pack + "=" + std::to_string(level) + "\n";
  for (const auto& [where, count] : hints_) {
    out += kHintsPrefix + std::to_string(where.second) + "/" + where.first + "=" +
           std::to_string(count) + "\n";
  }
  return out;
}

bool SavedProgress::parseHintLine(const std::string& line) {
  const std::size_t levelStart = std::string(kHintsPrefix).size();
  const std::size_t slash = line.find('/', levelStart);
  const std::size_t equals = line.rfind('=');
  if (slash == std::string::npos || equals == std::string::npos || equals <= slash + 1) {
    return false;
  }
  const int level = parseLevel(line.substr(levelStart, slash - levelStart));
  const int count = parseCount(line.substr(equals + 1), kMaxRecordedHints);
  if (level == 0 || count == 0) return false;
  int& kept = hints_[{line.substr(slash + 1, equals - slash - 1), level}];
  kept = std::max(kept, count);
  return true;
}

std::vector<int32_t> SavedProgress::hintsUsed(const std::string& pack) const {
  std::vector<int32_t> used;
  for (const auto& [where, count] : hints_) {
    if (where.first != pack) continue;
    if (used.size() <= static_cast<std::size_t>(where.second)) used.resize(where.second + 1);
    used[static_cast<std::size_t>(where.second)] = count;
  }
  return used;
}

bool SavedProgress::addHint(const std::string& pack, int level) {
  if (!keptName(pack) || level < 1 || level > kMaxRecordedLevel) return false;
  int& count = hints_[{pack, level}];
  if (count >= kMaxRecordedHints) return false;
  ++count;
  return true;
}

int SavedProgress::highestLevel(const std::string& pack) const {
  const auto found = records_.find(pack);
  return found == records_.end() ? 1 : found->second;
}

bool SavedProgress::reach(const std::string& pack, int level, int levelCount) {
  // A name that could not be read back as one line is not kept.
  if (!keptName(pack)) return false;
  const int capped = std::min({level, levelCount, kMaxRecordedLevel});
  if (capped <= highestLevel(pack)) return false;
  records_[pack] = capped;
  return true;
}

std::string progressFilePath() {
  const std::string folder = xdgFolder("XDG_DATA_HOME", ".local/share");
  return folder.empty() ? "" : folder + "/marvolen-dx/progress.txt";
}

ProgressFile::ProgressFile(std::string path, std::function<void(const std::string&)> note,
                           FileWriter writer)
    : path_(std::move(path)), note_(std::move(note)), writer_(std::move(writer)) {}

void ProgressFile::load() {
  if (path_.empty()) return;
  readNotedFile(path_, kWhat, note_,
                [this](const std::string& text, std::vector<std::string>& notes) {
                  progress_.parse(text, notes);
                });
}

void ProgressFile::reach(const std::string& pack, int level, int levelCount) {
  // Without a path the record still rises for this session; only the file is left alone.
  if (progress_.reach(pack, level, levelCount)) save();
}

void ProgressFile::addHint(const std::string& pack, int level) {
  if (progress_.addHint(pack, level)) save();
}

void ProgressFile::save() {
  if (path_.empty()) return;
  // Another game may have saved to the same file since this one read it: the file is read
  // again and each pack keeps the higher record (each level the higher count of hints), so
  // neither game's progress is lost. Its bad lines were noted when the game loaded it.
  readNotedFile(
      path_, kWhat, [](const std::string&) {},
      [this](const std::string& text, std::vector<std::string>& notes) {
        progress_.parse(text, notes);
      });
  // The old file stays whole; the player learns that the level just won will not be offered
  // next time, while there is still time to make room.
  if (!writeNotedFile(path_, progress_.text(), kWhat, note_, writer_) && tellPlayer) {
    tellPlayer("Progress NOT saved: disk full or read-only?");
  }
}

int ProgressFile::startableLevel(const std::string& pack, int levelCount) {
  const int record = progress_.highestLevel(pack);
  if (record <= levelCount || levelCount < 1) return record;
  if (cappedNoted_) return levelCount;
  cappedNoted_ = true;
  if (note_) {
    note_(std::string(kWhat) + ": the record " + base::escaped(pack) + "=" +
          std::to_string(record) + " is beyond the pack's " + std::to_string(levelCount) +
          " levels; level " + std::to_string(levelCount) + " is offered instead");
  }
  if (tellPlayer) {
    tellPlayer("Record " + std::to_string(record) + " is past the pack's " +
               std::to_string(levelCount) + " levels");
  }
  return levelCount;
}

}  // namespace mdx::app
