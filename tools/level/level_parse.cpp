// Parsing level sources. Every mistake is reported with the source line it was found on.
#include <cerrno>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "level/legend.h"
#include "level/level_source.h"

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

class SourceParser {
 public:
  SourceParser(LevelSource& level, std::string& error) : level_(level), error_(error) {}

  bool parse(const std::string& text) {
    level_ = LevelSource{};
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      ++lineNumber_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!(pendingRows_ > 0 ? takeMapRow(line) : parseStatement(line))) return false;
    }
    if (pendingRows_ > 0) {
      return fail("the " + std::string(currentMap_ == &blockRows_ ? "blocks" : "devices") +
                  " map ends after " + std::to_string(world::kRows - pendingRows_) +
                  " of its 28 rows");
    }
    return finish();
  }

 private:
  bool fail(const std::string& message) { return failAt(lineNumber_, message); }
  bool failAt(int line, const std::string& message) {
    error_ = "line " + std::to_string(line) + ": " + message;
    return false;
  }

  bool takeMapRow(const std::string& line) {
    // A row is 34 characters; anything after them must be set off by white space (a note).
    if (line.size() < static_cast<size_t>(world::kColumns) ||
        (line.size() > static_cast<size_t>(world::kColumns) && line[world::kColumns] != ' ' &&
         line[world::kColumns] != '\t')) {
      return fail("a map row has 34 cells, this one has " +
                  std::to_string(line.substr(0, line.find_first_of(" \t")).size()));
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
    if (keyword == "blocks" || keyword == "devices") return startMap(keyword);
    if (keyword == "intro") return expectNothing(rest) && (level_.intro = true);
    if (keyword == "pieces") return parsePieces(rest);
    if (keyword == "char") return parseLegendEntry(rest);
    if (keyword == "cell") return parseCellEntry(rest);
    if (keyword == "label" || keyword == "raw") return parseLineText(keyword, rest);
    if (keyword == "lineEndings") return parseChoice(rest, "lf", "crlf", level_.crlf);
    if (keyword == "finalNewline") return parseChoice(rest, "no", "yes", level_.finalNewline);
    int32_t* field = valueField(keyword);
    if (field == nullptr) return fail("unknown keyword '" + keyword + "'");
    if (keyword == "pieceCount") havePieceCount_ = true;
    return parseSingleInt(rest, keyword, *field);
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
      return fail("unexpected '" + rest + "'");
    return true;
  }

  bool parseSingleInt(const std::string& rest, const std::string& what, int32_t& out) {
    std::istringstream words(rest);
    std::string word, extra;
    if (!(words >> word) || (words >> extra) || !parseInt(word, out)) {
      return fail(what + " needs one whole number (32-bit), not '" + rest + "'");
    }
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
      if (piecesListed_ == 10) return fail("a level has at most 10 pieces");
      if (!parsePieceType(word, level_.pieceTypes[piecesListed_])) {
        return fail("unknown piece '" + word + "' (none, lift, pillar, tee, rightarm, leftarm)");
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
    if (symbol[0] == kCellTableChar) return fail("'?' is kept for the cell table");
    (layer == "block" ? blockLegend_ : deviceLegend_).define(symbol[0], value);
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
    auto& table = layer == "block" ? blockCells_ : deviceCells_;
    if (!table.emplace(world::cellIndex(row, column), CellEntry{lineNumber_, value}).second) {
      return fail("a second cell entry for row " + rowWord + " column " + columnWord);
    }
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
    for (int row = 0; row < world::kRows; ++row) {
      for (int column = 0; column < world::kColumns; ++column) {
        const char c = rows[row].cells[column];
        const int k = world::cellIndex(row, column);
        auto entry = cells.find(k);
        if (c == kCellTableChar) {
          if (entry == cells.end()) {
            return failAt(rows[row].sourceLine, std::string(name) + " row " + std::to_string(row) +
                                                    " column " + std::to_string(column) +
                                                    " is '?' but has no cell entry");
          }
          grid[k] = entry->second.value;
          cells.erase(entry);
        } else if (!legend.codeOf(c, grid[k])) {
          return failAt(rows[row].sourceLine, std::string("'") + c + "' (column " +
                                                  std::to_string(column) + ") is not in the " +
                                                  name + " legend");
        }
      }
    }
    if (!cells.empty()) {
      return failAt(cells.begin()->second.sourceLine,
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
        return failAt(rawSourceLines_[fileLine],
                      "the raw text reads as " + std::to_string(lineValue(text)) +
                          " but the level says " + std::to_string(value));
      }
    }
    return true;
  }

  LevelSource& level_;
  std::string& error_;
  int lineNumber_ = 0;
  Legend blockLegend_ = Legend::defaultBlocks();
  Legend deviceLegend_ = Legend::defaultDevices();
  std::vector<MapRow> blockRows_, deviceRows_;
  std::vector<MapRow>* currentMap_ = nullptr;
  int pendingRows_ = 0;
  std::map<int, CellEntry> blockCells_, deviceCells_;
  std::map<int, int> rawSourceLines_;
  bool havePieceCount_ = false;
  int piecesListed_ = 0;
};

}  // namespace

bool parseSource(const std::string& text, LevelSource& level, std::string& error) {
  return SourceParser(level, error).parse(text);
}

}  // namespace mdx::level
