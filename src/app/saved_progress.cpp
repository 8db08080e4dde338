#include "app/saved_progress.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace mdx::app {
namespace {

// How notes name the file.
constexpr const char* kWhat = "progress";

// A level number: decimal digits only, 1 to kMaxRecordedLevel; 0 when it is none.
int parseLevel(const std::string& text) {
  if (text.empty() || text.size() > 3) return 0;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= kMaxRecordedLevel ? value : 0;
}

}  // namespace

void SavedProgress::parse(const std::string& text, std::vector<std::string>& notes) {
  for (const TextLine& line : nonEmptyLines(text)) {
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
  return out;
}

int SavedProgress::highestLevel(const std::string& pack) const {
  const auto found = records_.find(pack);
  return found == records_.end() ? 1 : found->second;
}

bool SavedProgress::reach(const std::string& pack, int level, int levelCount) {
  // A name that could not be read back as one line is not kept.
  if (pack.empty() || pack.find_first_of("\r\n") != std::string::npos) return false;
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
  if (!progress_.reach(pack, level, levelCount) || path_.empty()) return;
  // Another game may have saved to the same file since this one read it: the file is read
  // again and each pack keeps the higher record, so neither game's progress is lost. Its bad
  // lines were noted when the game loaded it.
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
