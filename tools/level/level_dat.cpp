// The game's level files: 1938 lines, one value or label per line.
#include <cctype>
#include <climits>
#include <string>
#include <vector>

#include "level/level_source.h"

namespace mdx::level {

namespace {

constexpr int kDeviceLabelLine = kDeviceFirstLine - 1;  // 954
constexpr int kValuesLabelLine = kPieceCountLine - 1;   // 1907
constexpr int kFirstPieceLabel = kPieceCountLine + 1;   // 1909
constexpr int kLandscapeLabel = 1929;

const char* const kTailLabels[] = {"landscapeChoice", "parallax1On", "parallax2Mode", "levelMusic",
                                   "landscapeMotion"};

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

}  // namespace

bool isLabelLine(int line) {
  if (line == 1 || line == kDeviceLabelLine || line == kValuesLabelLine) return true;
  if (line >= kFirstPieceLabel && line < kDatLines) return (line - kFirstPieceLabel) % 2 == 0;
  return false;
}

std::string defaultLabel(int line, bool intro) {
  if (line == 1) return intro ? kIntroLabel : "blockLayer";
  if (line == kDeviceLabelLine) return "deviceLayer";
  if (line == kValuesLabelLine) return "pieceCount";
  if (line >= kFirstPieceLabel && line < kLandscapeLabel)
    return "pieceType" + std::to_string((line - kFirstPieceLabel) / 2);
  if (line >= kLandscapeLabel && line < kDatLines) return kTailLabels[(line - kLandscapeLabel) / 2];
  return "";
}

int32_t lineValue(const std::string& line) {
  size_t i = 0;
  while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  int64_t value = 0;
  for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

int32_t* valueAt(LevelSource& level, int line) {
  if (line >= kBlockFirstLine && line < kBlockFirstLine + world::kCells)
    return &level.blockLayer[line - kBlockFirstLine];
  if (line >= kDeviceFirstLine && line < kDeviceFirstLine + world::kCells)
    return &level.deviceLayer[line - kDeviceFirstLine];
  if (line == kPieceCountLine) return &level.pieceCount;
  if (isLabelLine(line) || line < 1 || line > kDatLines) return nullptr;
  if (line < kLandscapeLabel) return &level.pieceTypes[(line - kFirstPieceLabel) / 2];
  int32_t* tail[] = {&level.landscapeChoice, &level.parallax1On, &level.parallax2Mode,
                     &level.levelMusic, &level.landscapeMotion};
  return tail[(line - kLandscapeLabel) / 2];
}

const int32_t* valueAt(const LevelSource& level, int line) {
  return valueAt(const_cast<LevelSource&>(level), line);
}

std::string writeDat(const LevelSource& level) {
  const char* ending = level.crlf ? "\r\n" : "\n";
  std::string out;
  out.reserve(kDatLines * 6);
  for (int line = 1; line <= kDatLines; ++line) {
    if (isLabelLine(line)) {
      auto found = level.labels.find(line);
      out += found != level.labels.end() ? found->second : defaultLabel(line, level.intro);
    } else {
      auto raw = level.rawValues.find(line);
      out += raw != level.rawValues.end() ? raw->second : std::to_string(*valueAt(level, line));
    }
    if (line < kDatLines || level.finalNewline) out += ending;
  }
  return out;
}

bool readDat(const std::string& text, LevelSource& level, std::string& error) {
  bool finalNewline = true;
  std::vector<std::string> lines = splitLines(text, finalNewline);
  if (lines.size() != static_cast<size_t>(kDatLines)) {
    error = "a level file has " + std::to_string(kDatLines) + " lines, this one has " +
            std::to_string(lines.size());
    return false;
  }
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
    int32_t value = lineValue(content);
    *valueAt(level, line) = value;
    if (content != std::to_string(value)) level.rawValues[line] = content;
  }
  return true;
}

}  // namespace mdx::level
