// The player's progress per map pack: the highest level the player may start, and the hints
// used per level. Kept in $XDG_DATA_HOME/marvolen-dx/progress.txt as plain text, one "NAME=N"
// line per pack (split at the last '=', so names may hold '=', spaces or any UTF-8) and one
// "hints/LEVEL/NAME=COUNT" line per level a hint was used in; a pack's name is a folder's name,
// which never holds '/'. Files written before hints were counted read as before. Bad lines
// are noted and skipped.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/player_files.h"

namespace mdx::app {

// Highest level number a record may hold (levels are numbered with two digits).
constexpr int kMaxRecordedLevel = 98;
// Highest count of hints kept for one level.
constexpr int kMaxRecordedHints = 999;

class SavedProgress {
 public:
  // Reads the records from text; each line that is not a valid record adds a note.
  void parse(const std::string& text, std::vector<std::string>& notes);
  // The file's text: one sorted line per pack.
  std::string text() const;

  // The highest level the player may start in pack: 1 when the pack has no record.
  int highestLevel(const std::string& pack) const;
  // Records that level is reached in pack, capped at levelCount. A record never goes down.
  // Returns true when the record changed.
  bool reach(const std::string& pack, int level, int levelCount);

  // The hints used in pack, indexed by level number (0 where none was used).
  std::vector<int32_t> hintsUsed(const std::string& pack) const;
  // Counts one more hint used in level of pack; false when the count cannot be kept.
  bool addHint(const std::string& pack, int level);

 private:
  // Reads a "hints/LEVEL/NAME=COUNT" line; false when it is not a valid one.
  bool parseHintLine(const std::string& line);

  std::map<std::string, int> records_;
  std::map<std::pair<std::string, int>, int> hints_;  // (pack, level) to hints used
};

// Where the progress file lives; "" when neither XDG_DATA_HOME nor HOME is set.
std::string progressFilePath();

// The progress file on disk. With no path (--no-save, no home folder, a replay) nothing is
// read or written; the record is kept for the session alone. Problems go to the notes sink (stderr
// in the game), never stop the game.
class ProgressFile {
 public:
  ProgressFile(std::string path, std::function<void(const std::string&)> note,
               FileWriter writer = {});
  // Loads the file; a missing file is the empty record.
  void load();
  // Records a reached level and, when the record went up, writes the file (if any) with the
  // higher record of each pack from this game and from the file as it is now.
  void reach(const std::string& pack, int level, int levelCount);
  // Counts a hint used in level of pack and writes the file as reach does.
  void addHint(const std::string& pack, int level);
  const SavedProgress& progress() const { return progress_; }
  // The highest level the player may start in pack: the record, capped at the pack's
  // levelCount. A record beyond it gets one note; the file keeps it as it is.
  int startableLevel(const std::string& pack, int levelCount);

  // Told, besides the notes, a short line for the player to see in the game when a save fails
  // or a record is capped; may be empty.
  NoteSink tellPlayer;

 private:
  std::string path_;
  std::function<void(const std::string&)> note_;
  FileWriter writer_;
  // Writes the file, after reading it again for what another game saved meanwhile.
  void save();

  SavedProgress progress_;
  bool cappedNoted_ = false;
};

}  // namespace mdx::app
