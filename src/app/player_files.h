// Small files the game keeps for the player (progress, settings), read and written so that bad
// input cannot hang or flood the game and an interrupted write never leaves a broken file.
// Each problem becomes a note for the player, naming the file.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/files.h"

namespace mdx::app {

using base::FileWriter;

// Most bytes read from one of these files; anything after it is ignored.
constexpr std::size_t kSmallFileLimit = 64 * 1024;

using NoteSink = std::function<void(const std::string&)>;
// Turns a file's text into a record, adding a note for each line it cannot use.
using TextParser = std::function<void(const std::string& text, std::vector<std::string>& notes)>;

// Reads the first kSmallFileLimit bytes of the file at path and gives them to parse; a missing
// file is parsed as empty text. Each problem reaches note, led by what, the file's name for the
// player ("settings"): an unusable file (then nothing is parsed), a file cut short at the
// limit, each note of the parser.
void readNotedFile(const std::string& path, const std::string& what, const NoteSink& note,
                   const TextParser& parse);

// base::writeFileSafely that tells note "<what> not saved: <reason>" when it fails.
bool writeNotedFile(const std::string& path, const std::string& text, const std::string& what,
                    const NoteSink& note, const FileWriter& writer = {});

// The lines of a file's text, numbered from 1, without their line ends; empty lines are left
// out (their numbers still count).
struct TextLine {
  int number;
  std::string text;
};
std::vector<TextLine> nonEmptyLines(const std::string& text);

// A line as a note quotes it: in double quotes, cut after 40 bytes with "...". What a
// terminal cannot show is escaped as base::escaped does (\x01, \\), and '"' as \", so a binary
// file cannot garble the terminal and the quote's end is never in doubt.
std::string quotedLine(const std::string& line);

// The folder of XDG variable name (XDG_DATA_HOME, XDG_CONFIG_HOME) when it holds an absolute
// path, otherwise $HOME/fallback (".local/share", ".config"); "" when neither is known.
std::string xdgFolder(const char* name, const char* fallback);

}  // namespace mdx::app
