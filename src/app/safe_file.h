// Small files the game keeps for the player (progress, settings), read and written so that bad
// input cannot hang or flood the game and an interrupted write never leaves a broken file.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace mdx::app {

// Most bytes read from one of these files; anything after it is ignored.
constexpr std::size_t kSmallFileLimit = 64 * 1024;

struct SmallFile {
  enum class Status {
    Read,     // text holds the file's first bytes (at most the limit)
    Missing,  // no file at the path: the normal first run, not worth a note
    Unusable  // a folder, a pipe, a device or an unreadable file; note says what
  };
  Status status = Status::Missing;
  std::string text;
  bool cutShort = false;  // the file was longer than the limit
  std::string note;       // why it is unusable, naming the path
};

// Reads at most limit bytes of the regular file at path. Never blocks on a pipe or device.
SmallFile readSmallFile(const std::string& path, std::size_t limit = kSmallFileLimit);

using NoteSink = std::function<void(const std::string&)>;
// Turns a file's text into a record, adding a note for each line it cannot use.
using TextParser = std::function<void(const std::string& text, std::vector<std::string>& notes)>;

// Reads the small file at path (see readSmallFile) and gives its text to parse; a missing file
// is parsed as empty text. Each problem reaches note, led by what, the file's name for the
// player ("settings"): an unusable file (then nothing is parsed), a file cut short at the
// limit, each note of the parser.
void readNotedFile(const std::string& path, const std::string& what, const NoteSink& note,
                   const TextParser& parse);

// The lines of a file's text, numbered from 1, without their "\n" or "\r\n"; empty lines
// are left out (their numbers still count).
struct TextLine {
  int number;
  std::string text;
};
std::vector<TextLine> nonEmptyLines(const std::string& text);

// A line as a note quotes it: in double quotes, cut after 40 characters with "...".
std::string quotedLine(const std::string& line);

// Writes the bytes it is given to an open file; returns what POSIX write returns. Tests pass
// one that fails to show a full disk.
using FileWriter = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

// Replaces the file at path with text: creates the missing folders, writes a temporary file in
// the same folder, flushes it to disk, then renames it over the old file, so a crash, a full
// disk or a killed process leaves either the old file or the new one, whole. On failure the
// old file is untouched, the temporary file is removed, and error says what failed.
bool writeFileSafely(const std::string& path, const std::string& text, std::string& error,
                     const FileWriter& writer = {});
// writeFileSafely that tells note "<what> not saved: <reason>" when it fails.
bool writeNotedFile(const std::string& path, const std::string& text, const std::string& what,
                    const NoteSink& note, const FileWriter& writer = {});

// The folder of XDG variable name (XDG_DATA_HOME, XDG_CONFIG_HOME) when it holds an absolute
// path, otherwise $HOME/fallback (".local/share", ".config"); "" when neither is known.
std::string xdgFolder(const char* name, const char* fallback);

}  // namespace mdx::app
