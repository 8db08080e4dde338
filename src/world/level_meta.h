// A level's words for people: its name, the idea it is built on (for designers) and a hint
// (for players). A level source carries them as "name", "idea" and "hint" lines; a pack keeps
// those of all its levels in one small text file beside its level files, which keep their
// format:
//
//   # comment
//   [level07]
//   name=Lift relay
//   idea=Two lifts hand the robot up to the terrace.
//   hint=The second lift must wait where the first one stops.
//
// One [levelNN] section per level (NN its number, from 1), a key=text line per field. An
// optional [pack] section names the pack itself (name=The Machine Works) for the startup
// dialog and the title. Every text is one line of printable ASCII; a pack without the file has
// no names: its levels show their numbers only and the pack is called by its folder's name.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mdx::world {

// The file a pack's level words are kept in, in the pack folder.
constexpr char kLevelMetaFileName[] = "levels.ini";

struct LevelMeta {
  std::string name;  // short: it is shown on the ready sign after "LEVEL nn"
  std::string idea;  // what the level is built on, for whoever edits the pack
  std::string hint;  // a nudge for a player who is stuck, without giving the answer away

  bool empty() const { return name.empty() && idea.empty() && hint.empty(); }
  bool operator==(const LevelMeta& other) const {
    return name == other.name && idea == other.idea && hint == other.hint;
  }
};

// The fields by their key, in the order they are written; one table for the source keywords,
// the pack file's keys and the editor's fields.
struct LevelMetaField {
  const char* key;               // "name", "idea", "hint"
  std::string LevelMeta::*text;  // the field it names
  std::size_t maxChars;          // longest text allowed
};
const std::vector<LevelMetaField>& levelMetaFields();

// The field whose key is key, or nullptr.
const LevelMetaField* findLevelMetaField(std::string_view key);

// What makes text unfit for field ("" when it fits): a line break or another control
// character, a byte outside ASCII, more than the field's maxChars, white space at either end.
std::string levelMetaTextProblem(const LevelMetaField& field, std::string_view text);

// The longest name a pack may give itself.
constexpr std::size_t kMaxPackNameChars = 32;

// The words of a pack's levels, by level number, and what was wrong in the file.
struct PackMeta {
  std::string packName;  // the pack's own name; "" when it gives none
  std::map<int, LevelMeta> levels;
  std::vector<std::string> problems;  // "FILE:LINE: what is wrong", one per broken line

  // The words of level number, or empty ones when the pack has none for it.
  LevelMeta levelMeta(int number) const;
};

// Parses the text of a pack's level words; fileName names the file in messages. A broken line
// (no section yet, an unknown key, a text that does not fit, a bad section, a [pack] key other
// than name) is reported and skipped; everything else is kept.
PackMeta parsePackMeta(std::string_view text, const std::string& fileName);

// Reads the pack's level words from the file at path (its first 256 KiB). A missing file gives
// no words and no problem; an unreadable one gives a problem.
PackMeta readPackMeta(const std::string& path);

// The file text for the given levels: a comment line, the [pack] section when packName is not
// "", then one section per level with words, in level order, with the fields it has. Texts
// must fit (see levelMetaTextProblem and packNameProblem).
std::string writePackMeta(const std::map<int, LevelMeta>& levels, const std::string& packName = "");

// What makes text unfit as a pack's name ("" when it fits): as for a level's name, at most
// kMaxPackNameChars characters.
std::string packNameProblem(std::string_view text);

}  // namespace mdx::world
