// The game's level files, kept byte for byte: the layout and the reading rules are the game's
// (world/level_format.h); this adds what a round trip needs (odd labels, raw value text, line
// endings).
#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "level/level_source.h"

namespace mdx::level {

namespace {

const char kIntroLabel[] = "blockLayer (introduction)";

// The game reads a level to its end unless a line is too long for it; such a file would
// load with zeros from that line on, so it is refused with the line's number.
bool gameReadsItAll(const std::string& text, std::string& error) {
  LevelSource scratch;
  const world::LevelFileReport report = world::readLevel(text, scratch);
  if (!report.overlong) return true;
  error = "line " + std::to_string(report.lines) + " is longer than " +
          std::to_string(world::kMaxLineChars) + " characters; the game reads nothing after it";
  return false;
}

}  // namespace

std::string defaultLabel(int line, bool intro) {
  if (line == 1 && intro) return kIntroLabel;
  return world::defaultLabel(line);
}

std::string writeDat(const LevelSource& level) {
  const auto lineText = [&level](int line) -> std::string {
    if (isLabelLine(line)) {
      auto found = level.labels.find(line);
      return found != level.labels.end() ? found->second : defaultLabel(line, level.intro);
    }
    auto raw = level.rawValues.find(line);
    return raw != level.rawValues.end() ? raw->second : std::to_string(*valueAt(level, line));
  };
  return world::writeLevelLines(lineText, level.crlf ? "\r\n" : "\n", level.finalNewline);
}

bool readDat(const std::string& text, LevelSource& level, std::string& error) {
  std::vector<base::Line> lines = base::splitLines(text);
  if (lines.size() != static_cast<size_t>(kDatLines)) {
    error = "a level file has " + std::to_string(kDatLines) + " lines, this one has " +
            std::to_string(lines.size());
    return false;
  }
  if (!gameReadsItAll(text, error)) return false;
  const bool finalNewline = lines.back().end != base::LineEnd::None;
  // CR LF endings: every line that ends with a line feed has a carriage return before it. A
  // file that mixes the two keeps each such carriage return as text, so it is written back
  // byte for byte; so does a last line without a line feed.
  const auto anyLineEnds = [&lines](base::LineEnd end) {
    return std::any_of(lines.begin(), lines.end(),
                       [end](const base::Line& line) { return line.end == end; });
  };
  const bool crlf = anyLineEnds(base::LineEnd::CrLf) && !anyLineEnds(base::LineEnd::Lf);
  if (!crlf) {
    for (base::Line& line : lines) {
      if (line.end == base::LineEnd::CrLf) line.text += '\r';
    }
  }
  if (!finalNewline && text.back() == '\r') lines.back().text += '\r';

  level = LevelSource{};
  level.crlf = crlf;
  level.finalNewline = finalNewline;
  level.intro = lines[0].text == kIntroLabel;
  for (int line = 1; line <= kDatLines; ++line) {
    const std::string& content = lines[line - 1].text;
    if (isLabelLine(line)) {
      if (content != defaultLabel(line, level.intro)) level.labels[line] = content;
      continue;
    }
    const int32_t value = world::parseValue(content);
    *valueAt(level, line) = value;
    if (content != std::to_string(value)) level.rawValues[line] = content;
  }
  return true;
}

}  // namespace mdx::level
