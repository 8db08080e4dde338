// The editor's pack manager: the levels of one pack folder in order, with their names, and the
// changes a designer makes to a pack as a whole (reorder, rename, duplicate, delete, add the
// open level), each one step of undo. Platform-free: the window's panel and the tests drive it
// alike.
//
// A pack's levels are its level files level01.dat, level02.dat, ... up to the first gap, each
// with its source levelNN.src beside it when it has one, and their words in the pack's words
// file. A change renumbers all three together. It is written as a whole: every new file goes
// to a temporary name first, and only when all are written are they renamed into place, so a
// full disk or an unwritable folder leaves the pack as it was.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "base/files.h"
#include "edit/proof.h"
#include "level/level_checks.h"
#include "level/level_source.h"
#include "world/level_meta.h"

namespace mdx::edit {

// One level of the open pack as the manager lists it.
struct PackLevel {
  int number = 0;
  world::LevelMeta meta;     // from the pack's words file
  level::LevelSource level;  // from its source when it has one, else from its level file
  std::string path;          // that source or level file
  std::string error;         // why it could not be read; empty when level holds it
};

// At most this many pack changes can be undone; older ones are forgotten.
constexpr size_t kPackUndoLimit = 64;

class PackManager {
 public:
  // Opens the pack in dir (a folder holding a pref.ini) and lists its levels; forgets the undo
  // steps of any pack opened before. On failure the open pack stays and error says why.
  bool open(const std::string& dir, std::string& error);
  // Reads the open pack's folder again (after a change made outside the manager).
  void reload();
  bool isOpen() const { return !dir_.empty(); }
  const std::string& dir() const { return dir_; }
  const std::vector<PackLevel>& levels() const { return levels_; }
  // Changes with every change and undo, so a view can tell its list is stale.
  uint64_t revision() const { return revision_; }

  // Each change below takes level numbers from 1, is one undo step and returns false with the
  // reason in error (writing nothing) when it cannot be made.
  // Moves level number to number + delta; the levels between shift by one.
  bool move(int number, int delta, std::string& error);
  // Gives level number a new name in the words file and in its source's name line.
  bool rename(int number, const std::string& name, std::string& error);
  // Puts a copy of level number (its files and words) right after it.
  bool duplicate(int number, std::string& error);
  // Removes level number; the levels after it move up by one.
  bool remove(int number, std::string& error);
  // Adds the level being edited as the pack's last level through the editor's export (so
  // only a current, proven level goes in); number is its new number.
  bool addLevel(const level::LevelSource& level, const ProofStatus& proof, uint64_t revision,
                const std::string& gameDir, int& number, std::string& error);

  // Puts the pack's files back as they were before the last change, byte for byte.
  bool undo(std::string& error);
  size_t undoSteps() const { return undo_.size(); }

  // The writer every file goes through (tests pass one that fails to show a full disk).
  void setWriter(base::FileWriter writer) { writer_ = std::move(writer); }

 private:
  // The pack's level files, sources, words file and pref.ini: file name -> bytes.
  using PackFiles = std::map<std::string, std::string>;
  // One level's files and words while a change rearranges them.
  struct LevelSlot {
    std::string dat;
    std::string source;  // empty when the level has none
    world::LevelMeta meta;
  };

  PackFiles readFiles() const;
  // The open pack's levels as slots; false when the words file has broken lines (rewriting it
  // whole would drop them).
  bool readSlots(std::vector<LevelSlot>& slots, std::string& error) const;
  // The files of a pack holding slots as its levels, from before (the files it has now).
  PackFiles filesFor(const std::vector<LevelSlot>& slots, const PackFiles& before) const;
  // Replaces the folder's files before with after (see the header comment).
  bool commit(const PackFiles& before, const PackFiles& after, std::string& error);
  // Writes the pack with slots as its levels as one undo step.
  bool change(const std::vector<LevelSlot>& slots, std::string& error);
  bool checkNumber(int number, std::string& error) const;
  void remember(PackFiles before);

  std::string dir_;
  std::vector<PackLevel> levels_;
  std::vector<PackFiles> undo_;
  uint64_t revision_ = 0;
  base::FileWriter writer_;
};

}  // namespace mdx::edit
