// The game's level files, kept byte for byte: the layout and the reading rules are the game's
// (world/level_format.h); this adds what a round trip needs (odd labels, raw value text, line
// endings).
#include <string>
#include <vector>

#include "level/level_source.h"

namespace mdx::level {

namespace {

const char kIntroLabel[] = "blockLayer (introduction)";

// Splits text into lines without their line feeds. finalNewline tells whether the text ended
// with a line feed.
std::vector<std::string> splitLines(const std::string& text, bool& finalNewline) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      finalNewline = false;
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  finalNewline = true;
  return lines;
}

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
  bool finalNewline = true;
  std::vector<std::string> lines = splitLines(text, finalNewline);
  if (lines.size() != static_cast<size_t>(kDatLines)) {
    error = "a level file has " + std::to_string(kDatLines) + " lines, this one has " +
            std::to_string(lines.size());
    return false;
  }
  if (!gameReadsItAll(text, error)) return false;
  // CR LF endings: every line that ends with a line feed has a carriage return before it. A
  // last line without a line feed keeps a carriage return of its own as text.
  const size_t ended = finalNewline ? lines.size() : lines.size() - 1;
  bool crlf = ended > 0;
  for (size_t i = 0; i < ended; ++i) crlf = crlf && !lines[i].empty() && lines[i].back() == '\r';
  if (crlf) {
    for (size_t i = 0; i < ended; ++i) lines[i].pop_back();
  }

  level = LevelSource{};
  level.crlf = crlf;
  level.finalNewline = finalNewline;
  level.intro = lines[0] == kIntroLabel;
  for (int line = 1; line <= kDatLines; ++line) {
    const std::string& content = lines[line - 1];
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
