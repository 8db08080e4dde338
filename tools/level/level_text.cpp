// Writing level sources: header values, the two maps with the default legend, side tables;
// and writing an edited level over the source it came from.
#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "level/legend.h"
#include "level/level_checks.h"
#include "level/level_source.h"

namespace mdx::level {

namespace {

const char* const kPieceNames[] = {"none", "lift", "pillar", "tee", "rightarm", "leftarm"};

// The look values a source writes as "keyword value" lines, in the writer's order.
struct HeaderValue {
  const char* keyword;
  int32_t world::LevelValues::*field;
};
const HeaderValue kHeaderValues[] = {{"landscapeChoice", &world::LevelValues::landscapeChoice},
                                     {"parallax1On", &world::LevelValues::parallax1On},
                                     {"parallax2Mode", &world::LevelValues::parallax2Mode},
                                     {"levelMusic", &world::LevelValues::levelMusic},
                                     {"landscapeMotion", &world::LevelValues::landscapeMotion}};

// How many piece types the pieces line lists: up to the last that is not none.
int listedPieces(const LevelSource& level) {
  int listed = 10;
  while (listed > 0 && level.pieceTypes[listed - 1] == 0) --listed;
  return listed;
}

// A name, idea or hint line.
std::string metaLine(const world::LevelMetaField& field, const std::string& text) {
  return std::string(field.key) + ' ' + text;
}

// "pieces" and the listed types by name.
std::string piecesLine(const LevelSource& level) {
  const int listed = listedPieces(level);
  std::string out = "pieces";
  for (int i = 0; i < listed; ++i) {
    const char* name = pieceTypeName(level.pieceTypes[i]);
    out += ' ';
    out += name != nullptr ? std::string(name) : std::to_string(level.pieceTypes[i]);
  }
  return out;
}

void writeMap(std::string& out, const world::LevelGrid& grid, const Legend& legend) {
  for (int row = 0; row < world::kRows; ++row) {
    for (int column = 0; column < world::kColumns; ++column) {
      out += legend.charFor(grid[world::cellIndex(row, column)]);
    }
    out += '\n';
  }
}

// A char line for every character of the old block defaults the map uses, so the source says
// what each of its characters means.
void writeBlockLegend(std::string& out, const world::LevelGrid& grid, const Legend& legend) {
  std::set<int32_t> used(grid.begin(), grid.end());
  for (const LegendDefault& entry : defaultBlockEntries()) {
    if (!entry.plain && used.count(entry.code) && legend.charFor(entry.code) == entry.symbol) {
      out += std::string("char block ") + entry.symbol + ' ' + std::to_string(entry.code) + '\n';
    }
  }
}

void writeCellTable(std::string& out, const char* layer, const world::LevelGrid& grid,
                    const Legend& legend) {
  for (int k = 0; k < world::kCells; ++k) {
    if (legend.charFor(grid[k]) != kCellTableChar) continue;
    out += std::string("cell ") + layer + ' ' + std::to_string(k / world::kColumns) + ' ' +
           std::to_string(k % world::kColumns) + ' ' + std::to_string(grid[k]) + '\n';
  }
}

// A source's lines without their line ends, and the line end it uses.
struct TextLines {
  std::vector<std::string> lines;
  std::string lineEnd = "\n";
  bool finalLineEnd = true;
};

TextLines splitLines(const std::string& text) {
  TextLines out;
  const std::vector<base::Line> lines = base::splitLines(text);
  // The first line's end is the one the source uses.
  if (!lines.empty() && lines.front().end == base::LineEnd::CrLf) out.lineEnd = "\r\n";
  for (const base::Line& line : lines) out.lines.push_back(line.text);
  out.finalLineEnd = !text.empty() && text.back() == '\n';
  return out;
}

// The characters of one layer of an edited map. A changed cell takes the character the
// source's map already used for its code, else one of the source's own char lines, else the
// default one (with a new char line when the default is not plain), else '?'.
class LayerChars {
 public:
  LayerChars(const std::map<char, int32_t>& own, const std::vector<LegendDefault>& defaults)
      : own_(own), defaults_(defaults) {}

  // The code c stands for in the source; false when it stands for none.
  bool codeOf(char c, int32_t& code) const {
    if (const auto found = own_.find(c); found != own_.end()) {
      code = found->second;
      return true;
    }
    const LegendDefault* entry = findDefault(defaults_, c);
    if (entry != nullptr) code = entry->code;
    return entry != nullptr;
  }

  // Notes that the source's map writes code as c.
  void used(char c, int32_t code) { used_.emplace(code, c); }

  char charFor(int32_t code) {
    if (const auto found = used_.find(code); found != used_.end()) return found->second;
    for (const auto& [c, meant] : own_) {
      if (meant == code && c != kCellTableChar) return remember(c, code);
    }
    for (const LegendDefault& entry : defaults_) {
      int32_t meant = 0;
      if (entry.code != code || !codeOf(entry.symbol, meant) || meant != code) continue;
      if (!entry.plain && own_.count(entry.symbol) == 0) added_.push_back(entry);
      return remember(entry.symbol, code);
    }
    return kCellTableChar;
  }

  // Default characters that the edit brought in and the source does not define yet.
  const std::vector<LegendDefault>& added() const { return added_; }

 private:
  char remember(char c, int32_t code) {
    used_.emplace(code, c);
    return c;
  }

  const std::map<char, int32_t>& own_;
  const std::vector<LegendDefault>& defaults_;
  std::map<int32_t, char> used_;
  std::vector<LegendDefault> added_;
};

// Writes an edited level over the lines of the source of its earlier version.
class SourceUpdate {
 public:
  SourceUpdate(const TextLines& source, const LevelSource& before, const SourceLayout& layout,
               const LevelSource& after)
      : source_(source),
        before_(before),
        layout_(layout),
        after_(after),
        blocks_(layout.blockChars, defaultBlockEntries()),
        devices_(layout.deviceChars, defaultDeviceEntries()) {}

  std::string write() {
    drawMap(layout_.blockRowLines, before_.blockLayer, after_.blockLayer, blocks_, "block");
    drawMap(layout_.deviceRowLines, before_.deviceLayer, after_.deviceLayer, devices_, "device");
    cellsChanged_ = newCells_ != oldCells_;
    planLines();
    std::string out;
    for (int n = 1; n <= static_cast<int>(source_.lines.size()); ++n) {
      if (n == headerEnd_) addAll(out, missing_);
      if (n == keywordLine("blocks") && lastCharLine_ == 0) addCharLines(out);
      addLine(out, n);
      if (n == lastMetaLine_) addAll(out, missingMeta_);
    }
    if (!source_.finalLineEnd && !out.empty()) out.resize(out.size() - source_.lineEnd.size());
    return out;
  }

 private:
  const std::string& line(int n) const { return source_.lines[static_cast<size_t>(n - 1)]; }
  int keywordLine(const std::string& word) const {
    const auto found = layout_.keywordLines.find(word);
    return found == layout_.keywordLines.end() ? 0 : found->second;
  }
  void add(std::string& out, const std::string& text) const { out += text + source_.lineEnd; }
  void addAll(std::string& out, const std::vector<std::string>& lines) const {
    for (const std::string& text : lines) add(out, text);
  }

  // Redraws a map's rows: a cell whose code did not change keeps its character (and a note
  // after the row stays); lists the '?' cells' entries before and after.
  void drawMap(const std::array<int, world::kRows>& rowLines, const world::LevelGrid& before,
               const world::LevelGrid& after, LayerChars& chars, const std::string& layer) {
    for (int row = 0; row < world::kRows; ++row) {
      for (int column = 0; column < world::kColumns; ++column) {
        const char c = line(rowLines[row])[column];
        int32_t code = 0;
        if (c != kCellTableChar && chars.codeOf(c, code)) chars.used(c, code);
      }
    }
    for (int row = 0; row < world::kRows; ++row) {
      std::string text = line(rowLines[row]);
      for (int column = 0; column < world::kColumns; ++column) {
        const int k = world::cellIndex(row, column);
        const std::string entry =
            "cell " + layer + ' ' + std::to_string(row) + ' ' + std::to_string(column) + ' ';
        if (text[column] == kCellTableChar) oldCells_.push_back(entry + std::to_string(before[k]));
        if (after[k] != before[k]) text[column] = chars.charFor(after[k]);
        if (text[column] == kCellTableChar) newCells_.push_back(entry + std::to_string(after[k]));
      }
      rows_[rowLines[row]] = text;
      lastRowLine_ = std::max(lastRowLine_, rowLines[row]);
    }
  }

  bool piecesChanged() const {
    return before_.pieceTypes != after_.pieceTypes || before_.pieceCount != after_.pieceCount;
  }

  // Finds the char and cell lines, and the lines a value needs that the source lacks; they go
  // before the first char line or map.
  void planLines() {
    for (int n = 1; n <= static_cast<int>(source_.lines.size()); ++n) {
      if (rows_.count(n) != 0) continue;
      const std::string word = base::firstWord(line(n));
      if (word == "char" && firstCharLine_ == 0) firstCharLine_ = n;
      if (word == "char") lastCharLine_ = n;
      if (word == "cell" && firstCellLine_ == 0) firstCellLine_ = n;
    }
    for (int n : {firstCharLine_, keywordLine("blocks"), keywordLine("devices")}) {
      if (n > 0 && (headerEnd_ == 0 || n < headerEnd_)) headerEnd_ = n;
    }
    for (const world::LevelMetaField& field : world::levelMetaFields()) {
      const std::string& text = after_.meta.*field.text;
      lastMetaLine_ = std::max(lastMetaLine_, keywordLine(field.key));
      if (!text.empty() && keywordLine(field.key) == 0)
        missingMeta_.push_back(metaLine(field, text));
    }
    // New words go after those the source has, else first in the header.
    if (lastMetaLine_ == 0)
      missing_.insert(missing_.begin(), missingMeta_.begin(), missingMeta_.end());
    if (after_.intro && !before_.intro) missing_.push_back("intro");
    if (piecesChanged() && keywordLine("pieceCount") == 0 &&
        after_.pieceCount != listedPieces(after_)) {
      missing_.push_back("pieceCount " + std::to_string(after_.pieceCount));
    }
    if (piecesChanged() && keywordLine("pieces") == 0) missing_.push_back(piecesLine(after_));
    for (const HeaderValue& value : kHeaderValues) {
      if (after_.*value.field != before_.*value.field && keywordLine(value.keyword) == 0) {
        missing_.push_back(std::string(value.keyword) + ' ' + std::to_string(after_.*value.field));
      }
    }
  }

  void addCharLines(std::string& out) const {
    for (const LayerChars* chars : {&blocks_, &devices_}) {
      const char* layer = chars == &blocks_ ? "block" : "device";
      for (const LegendDefault& entry : chars->added()) {
        add(out,
            std::string("char ") + layer + ' ' + entry.symbol + ' ' + std::to_string(entry.code));
      }
    }
  }

  // A raw line stays while its text still reads as the value of its level-file line.
  bool rawStillHolds(const std::string& text) const {
    std::istringstream words(text);
    std::string keyword;
    int fileLine = 0;
    words >> keyword >> fileLine;
    const auto found = after_.rawValues.find(fileLine);
    const int32_t* value = world::valueAt(after_, fileLine);
    return found != after_.rawValues.end() && value != nullptr &&
           lineValue(found->second) == *value;
  }

  // The value statement on line n written anew, or "" when it stays as it is.
  std::string newStatement(const std::string& word, int n) const {
    if (n != keywordLine(word)) return "";
    if (const world::LevelMetaField* field = world::findLevelMetaField(word)) {
      const std::string& text = after_.meta.*field->text;
      return text == before_.meta.*field->text ? "" : metaLine(*field, text);
    }
    if (word == "pieces" && piecesChanged()) return piecesLine(after_);
    if (word == "pieceCount" && piecesChanged()) {
      return "pieceCount " + std::to_string(after_.pieceCount);
    }
    for (const HeaderValue& value : kHeaderValues) {
      if (word == value.keyword && after_.*value.field != before_.*value.field) {
        return word + ' ' + std::to_string(after_.*value.field);
      }
    }
    return "";
  }

  void addLine(std::string& out, int n) {
    if (const auto row = rows_.find(n); row != rows_.end()) {
      add(out, row->second);
      if (n == lastRowLine_ && cellsChanged_ && firstCellLine_ == 0) addAll(out, newCells_);
      return;
    }
    const std::string word = base::firstWord(line(n));
    if (word == "cell" && cellsChanged_) {
      if (n == firstCellLine_) addAll(out, newCells_);
      return;
    }
    const world::LevelMetaField* field = world::findLevelMetaField(word);
    if (field != nullptr && (after_.meta.*field->text).empty()) return;
    if ((word == "intro" && !after_.intro) || (word == "raw" && !rawStillHolds(line(n)))) return;
    const std::string statement = newStatement(word, n);
    add(out, statement.empty() ? line(n) : statement);
    if (n == lastCharLine_) addCharLines(out);
  }

  const TextLines& source_;
  const LevelSource& before_;
  const SourceLayout& layout_;
  const LevelSource& after_;
  LayerChars blocks_, devices_;
  std::map<int, std::string> rows_;  // source line -> the map row written there
  std::vector<std::string> oldCells_, newCells_, missing_, missingMeta_;
  bool cellsChanged_ = false;
  int lastRowLine_ = 0, firstCharLine_ = 0, lastCharLine_ = 0, firstCellLine_ = 0;
  int headerEnd_ = 0;
  int lastMetaLine_ = 0;  // the source's last name, idea or hint line
};

}  // namespace

const char* pieceTypeName(int32_t type) {
  return type >= 0 && type <= 5 ? kPieceNames[type] : nullptr;
}

std::string writeSource(const LevelSource& level) {
  std::string out =
      "# Marvolen DX level source. Build it with: marvolen-level build THIS.src OUT.dat\n"
      "# Block legend: . empty, = swing-bar filler (98), @ robot, * explosion marker (999),\n"
      "# and the char lines before the maps. Device legend: . none, C lift car, | lift shaft,\n"
      "# B lift call button, W swing bar, S bar switch, E exit, / and ^ stairs (10, 11),\n"
      "# X bomb, * blinker (13), 1 5 9 decorations. ? means: see the cell table below.\n";
  for (const world::LevelMetaField& field : world::levelMetaFields()) {
    const std::string& text = level.meta.*field.text;
    if (!text.empty()) out += metaLine(field, text) + '\n';
  }
  if (level.intro) out += "intro\n";
  out += "pieceCount " + std::to_string(level.pieceCount) + '\n';
  out += piecesLine(level) + '\n';
  for (const HeaderValue& value : kHeaderValues) {
    out += std::string(value.keyword) + ' ' + std::to_string(level.*value.field) + '\n';
  }
  if (level.crlf) out += "lineEndings crlf\n";
  if (!level.finalNewline) out += "finalNewline no\n";

  const Legend blocks = Legend::defaultBlocks();
  const Legend devices = Legend::defaultDevices();
  writeBlockLegend(out, level.blockLayer, blocks);
  out += "blocks\n";
  writeMap(out, level.blockLayer, blocks);
  out += "devices\n";
  writeMap(out, level.deviceLayer, devices);
  writeCellTable(out, "block", level.blockLayer, blocks);
  writeCellTable(out, "device", level.deviceLayer, devices);
  for (const auto& [line, text] : level.labels) {
    out += "label " + std::to_string(line) + ' ' + escapeText(text) + '\n';
  }
  for (const auto& [line, text] : level.rawValues) {
    out += "raw " + std::to_string(line) + ' ' + escapeText(text) + '\n';
  }
  return out;
}

}  // namespace mdx::level

namespace mdx::level {

bool updateSource(const std::string& original, const LevelSource& level, std::string& text) {
  LevelSource before;
  SourceLayout layout;
  SourceError error;
  if (!parseSourceAt(original, before, layout, error)) return false;
  const TextLines lines = splitLines(original);
  text = SourceUpdate(lines, before, layout, level).write();
  return true;
}

}  // namespace mdx::level
