// Parsing level sources. Every mistake is reported with the source line and column it was
// found at; a map with the wrong number of rows is reported before anything else.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "level/legend.h"
#include "level/level_checks.h"
#include "level/level_source.h"
#include "world/level_meta.h"

namespace mdx::level {

namespace {

struct MapRow {
  int sourceLine;
  std::string cells;
};

struct CellEntry {
  int sourceLine;
  int32_t value;
};

const char* const kKeywords[] = {"blocks",      "devices",       "intro",      "pieces",
                                 "char",        "cell",          "label",      "raw",
                                 "lineEndings", "finalNewline",  "pieceCount", "landscapeChoice",
                                 "parallax1On", "parallax2Mode", "levelMusic", "landscapeMotion",
                                 "name",        "idea",          "hint"};

bool isKeyword(const std::string& word) {
  for (const char* keyword : kKeywords) {
    if (word == keyword) return true;
  }
  return false;
}

bool parseInt(const std::string& word, int32_t& value) {
  if (word.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long parsed = std::strtoll(word.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

bool parsePieceType(const std::string& word, int32_t& type) {
  for (int32_t t = 0; t <= 5; ++t) {
    if (word == pieceTypeName(t)) {
      type = t;
      return true;
    }
  }
  return parseInt(word, type);
}

// The character starting at text[i] as a code point ("U+00E9"), or its byte ("byte 0xE9")
// when it is not valid UTF-8; bytes is set to how many bytes it takes.
std::string nameNonAscii(const std::string& text, size_t i, size_t& bytes) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  uint32_t code = length == 4 ? lead & 0x07u : length == 3 ? lead & 0x0Fu : lead & 0x1Fu;
  bool valid = length > 0 && i + length <= text.size();
  for (size_t k = 1; valid && k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    valid = (next & 0xC0) == 0x80;
    code = (code << 6) | (next & 0x3Fu);
  }
  char name[32];
  if (valid) {
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
    bytes = length;
  } else {
    std::snprintf(name, sizeof name, "byte 0x%02X", lead);
    bytes = 1;
  }
  return name;
}

class SourceParser {
 public:
  SourceParser(LevelSource& level, SourceLayout& layout, SourceError& error)
      : level_(level), layout_(layout), error_(error) {}

  bool parse(const std::string& text) {
    level_ = LevelSource{};
    layout_ = SourceLayout{};
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      return failAt(1, 1,
                    "the file starts with a byte-order mark (bytes EF BB BF); save it "
                    "without one (plain ASCII or UTF-8 without BOM)");
    }
    std::vector<std::string> lines;
    for (base::Line& line : base::splitLines(text)) lines.push_back(std::move(line.text));
    if (!checkRowCounts(lines)) return false;
    for (const std::string& line : lines) {
      ++lineNumber_;
      currentLine_ = line;
      if (!(pendingRows_ > 0 ? takeMapRow(line) : parseStatement(line))) return false;
    }
    return finish();
  }

 private:
  bool fail(const std::string& message) { return failAt(lineNumber_, 1, message); }
  bool failAt(int line, int column, const std::string& message) {
    error_ = SourceError{line, column, message};
    return false;
  }
  // Column (1-based) of word in the line being parsed, for messages about it.
  int columnOf(const std::string& word) const {
    const size_t at = currentLine_.find(word);
    return at == std::string::npos ? 1 : static_cast<int>(at) + 1;
  }
  void warnAt(int line, int column, const std::string& message) {
    layout_.warnings.push_back({message, 0, line, column});
  }

  // A map's rows run from its keyword to the next keyword line; blank lines and comments
  // just before that line end the map and are not rows. Every map must have 28.
  bool checkRowCounts(const std::vector<std::string>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string keyword = base::firstWord(lines[i]);
      if (keyword != "blocks" && keyword != "devices") continue;
      size_t end = i + 1;
      while (end < lines.size() && !isKeyword(base::firstWord(lines[end]))) ++end;
      while (end > i + 1 && endsMap(lines[end - 1])) --end;
      const size_t rows = end - i - 1;
      if (rows != static_cast<size_t>(world::kRows)) {
        return failAt(static_cast<int>(i) + 1, 1,
                      "the " + keyword + " map has " + std::to_string(rows) +
                          (rows == 1 ? " row" : " rows") + ", a map has " +
                          std::to_string(world::kRows) + " (every line after '" + keyword +
                          "' up to the next keyword is a row, blank lines too)");
      }
      i = end - 1;
    }
    return true;
  }

  // A blank line or a comment ("# ..." with a space before column 34): not a map row when it
  // comes at a map's end.
  static bool endsMap(const std::string& line) {
    if (line.find_first_not_of(" \t") == std::string::npos) return true;
    const size_t gap = line.find_first_of(" \t");
    return line[0] == '#' && gap != std::string::npos && gap < static_cast<size_t>(world::kColumns);
  }

  bool takeMapRow(const std::string& line) {
    // A row is 34 one-character cells; anything after them must be set off by white space.
    for (size_t i = 0; i < line.size(); ++i) {
      const int column = static_cast<int>(i) + 1;
      const unsigned char c = static_cast<unsigned char>(line[i]);
      if (c >= 0x80) {
        size_t bytes = 0;
        const std::string name = nameNonAscii(line, i, bytes);
        return failAt(lineNumber_, column,
                      "a non-ASCII character (" + name +
                          ") in a map row: cells are ASCII "
                          "characters; give the cell a character of its own with a char line");
      }
      if (i < static_cast<size_t>(world::kColumns) && c == '\t') {
        return failAt(lineNumber_, column,
                      "a tab in a map row: every cell is one character "
                      "('.' for an empty cell); tabs only set off a note");
      }
      if (i < static_cast<size_t>(world::kColumns) && c < 0x20) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        return failAt(lineNumber_, column,
                      std::string("a control character (") + hex +
                          ") in a map row: cells are printable characters");
      }
      if (c == ' ' || c == '\t') break;
    }
    const size_t cells = line.substr(0, line.find_first_of(" \t")).size();
    if (cells != static_cast<size_t>(world::kColumns)) {
      const bool spaced =
          cells < line.size() && line.find_first_not_of(" \t", cells) != std::string::npos;
      return failAt(lineNumber_, static_cast<int>(std::min<size_t>(cells, world::kColumns)) + 1,
                    "a map row has 34 cells, this one has " + std::to_string(cells) +
                        (spaced ? " (a space ends the cells; use '.' for an empty cell)" : ""));
    }
    currentMap_->push_back({lineNumber_, line.substr(0, world::kColumns)});
    --pendingRows_;
    return true;
  }

  bool parseStatement(const std::string& line) {
    std::istringstream words(line);
    std::string keyword;
    if (!(words >> keyword) || keyword[0] == '#') return true;
    std::string rest;
    std::getline(words, rest);
    if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
    if (keyword != "label" && keyword != "raw" && !asciiOnly(line)) return false;
    if (world::findLevelMetaField(keyword) != nullptr && layout_.keywordLines.count(keyword)) {
      return fail("a second " + keyword + " line");
    }
    layout_.keywordLines[keyword] = lineNumber_;
    if (keyword == "blocks" || keyword == "devices") return startMap(keyword);
    if (keyword == "intro") return expectNothing(rest) && (level_.intro = true);
    if (keyword == "pieces") return parsePieces(rest);
    if (keyword == "char") return parseLegendEntry(rest);
    if (keyword == "cell") return parseCellEntry(rest);
    if (keyword == "label" || keyword == "raw") return parseLineText(keyword, rest);
    if (const world::LevelMetaField* field = world::findLevelMetaField(keyword)) {
      return parseMetaText(*field, rest);
    }
    if (keyword == "lineEndings") return parseChoice(rest, "lf", "crlf", level_.crlf);
    if (keyword == "finalNewline") return parseChoice(rest, "no", "yes", level_.finalNewline);
    int32_t* field = valueField(keyword);
    if (field == nullptr) return fail("unknown keyword '" + keyword + "'");
    if (keyword == "pieceCount") havePieceCount_ = true;
    return parseSingleInt(rest, keyword, *field);
  }

  // Statements are ASCII (comments and label or raw text may hold anything).
  bool asciiOnly(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
      if (static_cast<unsigned char>(line[i]) < 0x80) continue;
      size_t bytes = 0;
      const std::string name = nameNonAscii(line, i, bytes);
      return failAt(lineNumber_, static_cast<int>(i) + 1,
                    "a non-ASCII character (" + name + "): level sources are written in ASCII");
    }
    return true;
  }

  int32_t* valueField(const std::string& keyword) {
    if (keyword == "pieceCount") return &level_.pieceCount;
    if (keyword == "landscapeChoice") return &level_.landscapeChoice;
    if (keyword == "parallax1On") return &level_.parallax1On;
    if (keyword == "parallax2Mode") return &level_.parallax2Mode;
    if (keyword == "levelMusic") return &level_.levelMusic;
    if (keyword == "landscapeMotion") return &level_.landscapeMotion;
    return nullptr;
  }

  bool expectNothing(const std::string& rest) {
    if (rest.find_first_not_of(" \t") != std::string::npos)
      return failAt(lineNumber_, columnOf(rest), "unexpected '" + rest + "'");
    return true;
  }

  bool parseSingleInt(const std::string& rest, const std::string& what, int32_t& out) {
    std::istringstream words(rest);
    std::string word, extra;
    if (!(words >> word) || (words >> extra) || !parseInt(word, out)) {
      return failAt(lineNumber_, rest.empty() ? 1 : columnOf(rest),
                    what + " needs one whole number (32-bit), not '" + rest + "'");
    }
    return true;
  }

  // The rest of a name, idea or hint line is its text, without spaces at either end.
  bool parseMetaText(const world::LevelMetaField& field, const std::string& rest) {
    const std::string text = base::trimmed(rest);
    if (text.empty()) return fail(std::string(field.key) + " needs a text after it");
    const std::string unfit = world::levelMetaTextProblem(field, text);
    if (!unfit.empty())
      return failAt(lineNumber_, columnOf(text), std::string("the ") + field.key + " " + unfit);
    level_.meta.*field.text = text;
    return true;
  }

  bool parseChoice(const std::string& rest, const char* no, const char* yes, bool& out) {
    std::istringstream words(rest);
    std::string word;
    words >> word;
    if (word != no && word != yes)
      return fail(std::string("expected '") + no + "' or '" + yes + "'");
    out = word == yes;
    return true;
  }

  bool startMap(const std::string& keyword) {
    std::vector<MapRow>& rows = keyword == "blocks" ? blockRows_ : deviceRows_;
    if (!rows.empty()) return fail("a second " + keyword + " map");
    currentMap_ = &rows;
    pendingRows_ = world::kRows;
    return true;
  }

  bool parsePieces(const std::string& rest) {
    std::istringstream words(rest);
    std::string word;
    piecesListed_ = 0;
    level_.pieceTypes.fill(0);
    while (words >> word) {
      if (piecesListed_ == 10)
        return failAt(lineNumber_, columnOf(word), "a level has at most 10 pieces");
      if (!parsePieceType(word, level_.pieceTypes[piecesListed_])) {
        return failAt(lineNumber_, columnOf(word),
                      "unknown piece '" + word + "' (none, lift, pillar, tee, rightarm, leftarm)");
      }
      ++piecesListed_;
    }
    return true;
  }

  bool parseLegendEntry(const std::string& rest) {
    std::istringstream words(rest);
    std::string layer, symbol, code;
    int32_t value = 0;
    if (!(words >> layer >> symbol >> code) || (layer != "block" && layer != "device") ||
        symbol.size() != 1 || !parseInt(code, value)) {
      return fail("a legend entry reads: char block|device CHARACTER CODE");
    }
    if (symbol[0] == kCellTableChar)
      return failAt(lineNumber_, columnOf("?"), "'?' is kept for the cell table");
    const bool blocks = layer == "block";
    if (symbol[0] == '.' && value != 0) {
      warnAt(lineNumber_, 1,
             "the legend makes '.' " + layer + " " + std::to_string(value) +
                 ", but '.' means empty in every other level; choose another "
                 "character");
    }
    (blocks ? blockLegend_ : deviceLegend_).define(symbol[0], value);
    (blocks ? layout_.blockChars : layout_.deviceChars)[symbol[0]] = value;
    (blocks ? blockDefined_ : deviceDefined_).insert(symbol[0]);
    return true;
  }

  bool parseCellEntry(const std::string& rest) {
    std::istringstream words(rest);
    std::string layer, rowWord, columnWord, valueWord;
    int32_t row = 0, column = 0, value = 0;
    if (!(words >> layer >> rowWord >> columnWord >> valueWord) ||
        (layer != "block" && layer != "device") || !parseInt(rowWord, row) ||
        !parseInt(columnWord, column) || !parseInt(valueWord, value)) {
      return fail("a cell entry reads: cell block|device ROW COLUMN CODE");
    }
    if (row < 0 || row >= world::kRows || column < 0 || column >= world::kColumns) {
      return fail("cell row " + rowWord + " column " + columnWord + " is outside the grid");
    }
    const bool blocks = layer == "block";
    auto& table = blocks ? blockCells_ : deviceCells_;
    const int k = world::cellIndex(row, column);
    if (!table.emplace(k, CellEntry{lineNumber_, value}).second) {
      return fail("a second cell entry for row " + rowWord + " column " + columnWord);
    }
    layout_.cellEntryLines[(blocks ? kBlockFirstLine : kDeviceFirstLine) + k] = lineNumber_;
    return true;
  }

  bool parseLineText(const std::string& keyword, const std::string& rest) {
    size_t space = rest.find(' ');
    int32_t fileLine = 0;
    std::string text;
    if (!parseInt(rest.substr(0, space), fileLine) || fileLine < 1 || fileLine > kDatLines) {
      return fail(keyword + " needs a level-file line number from 1 to 1938");
    }
    if (space != std::string::npos && !unescapeText(rest.substr(space + 1), text)) {
      return fail("bad escape in the text (use \\\\ and \\xNN)");
    }
    if (keyword == "label") {
      if (!isLabelLine(fileLine))
        return fail("line " + std::to_string(fileLine) + " is not a label");
      level_.labels[fileLine] = text;
    } else {
      if (isLabelLine(fileLine)) return fail("line " + std::to_string(fileLine) + " is a label");
      level_.rawValues[fileLine] = text;
      rawSourceLines_[fileLine] = lineNumber_;
    }
    return true;
  }

  bool decodeMap(const std::vector<MapRow>& rows, const Legend& legend,
                 std::map<int, CellEntry>& cells, const char* name, world::LevelGrid& grid) {
    const bool blocks = &grid == &level_.blockLayer;
    const std::set<char>& defined = blocks ? blockDefined_ : deviceDefined_;
    const auto& defaults = blocks ? defaultBlockEntries() : defaultDeviceEntries();
    for (int row = 0; row < world::kRows; ++row) {
      (blocks ? layout_.blockRowLines : layout_.deviceRowLines)[row] = rows[row].sourceLine;
      for (int column = 0; column < world::kColumns; ++column) {
        const char c = rows[row].cells[column];
        const int k = world::cellIndex(row, column);
        auto entry = cells.find(k);
        if (c == kCellTableChar) {
          if (entry == cells.end()) {
            return failAt(rows[row].sourceLine, column + 1,
                          std::string(name) + " row " + std::to_string(row) + " column " +
                              std::to_string(column) + " is '?' but has no cell entry");
          }
          grid[k] = entry->second.value;
          cells.erase(entry);
        } else if (!legend.codeOf(c, grid[k])) {
          return failAt(rows[row].sourceLine, column + 1,
                        std::string("'") + c + "' is not in the " + name +
                            " legend; define it with: char " + name + " " + c +
                            " CODE (marvolen-level legend lists the defaults)");
        } else if (!defined.count(c) && !findDefault(defaults, c)->plain) {
          // A letter or digit the source never defined is most likely a typo: taking the
          // old default would quietly build some other material.
          return failAt(rows[row].sourceLine, column + 1,
                        std::string("'") + c + "' in the " + name +
                            " map is not defined in this source; define it with: char " + name +
                            " " + c + " CODE (marvolen-level legend lists the codes)");
        }
      }
    }
    if (!cells.empty()) {
      return failAt(cells.begin()->second.sourceLine, 1,
                    "a cell entry for a cell whose map character is not '?'");
    }
    return true;
  }

  bool finish() {
    if (blockRows_.empty()) return fail("the source has no blocks map");
    if (deviceRows_.empty()) return fail("the source has no devices map");
    if (!decodeMap(blockRows_, blockLegend_, blockCells_, "block", level_.blockLayer) ||
        !decodeMap(deviceRows_, deviceLegend_, deviceCells_, "device", level_.deviceLayer)) {
      return false;
    }
    if (!havePieceCount_) level_.pieceCount = piecesListed_;
    for (const auto& [fileLine, text] : level_.rawValues) {
      const int32_t value = *valueAt(level_, fileLine);
      if (lineValue(text) != value) {
        return failAt(rawSourceLines_[fileLine], 1,
                      "the raw text reads as " + std::to_string(lineValue(text)) +
                          " but the level says " + std::to_string(value));
      }
    }
    return true;
  }

  LevelSource& level_;
  SourceLayout& layout_;
  SourceError& error_;
  int lineNumber_ = 0;
  std::string currentLine_;
  Legend blockLegend_ = Legend::defaultBlocks();
  Legend deviceLegend_ = Legend::defaultDevices();
  std::set<char> blockDefined_, deviceDefined_;
  std::vector<MapRow> blockRows_, deviceRows_;
  std::vector<MapRow>* currentMap_ = nullptr;
  int pendingRows_ = 0;
  std::map<int, CellEntry> blockCells_, deviceCells_;
  std::map<int, int> rawSourceLines_;
  bool havePieceCount_ = false;
  int piecesListed_ = 0;
};

}  // namespace

bool parseSourceAt(const std::string& text, LevelSource& level, SourceLayout& layout,
                   SourceError& error) {
  return SourceParser(level, layout, error).parse(text);
}

bool parseSource(const std::string& text, LevelSource& level, std::string& error) {
  SourceLayout layout;
  SourceError located;
  if (parseSourceAt(text, level, layout, located)) return true;
  error =
      std::to_string(located.line) + ":" + std::to_string(located.column) + ": " + located.message;
  return false;
}

}  // namespace mdx::level
