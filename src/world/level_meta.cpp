#include "world/level_meta.h"

#include <cstdio>

#include "base/files.h"
#include "base/text.h"

namespace mdx::world {

namespace {

// Far more than the words of any pack; a gigantic file is not read past it.
constexpr std::size_t kMaxMetaBytes = std::size_t{256} << 10;
constexpr int kMaxLevelNumber = 999;
constexpr std::string_view kPackSection = "[pack]";
// A pack's name is checked as a level's is, with its own length.
const LevelMetaField kPackNameField{"name", &LevelMeta::name, kMaxPackNameChars};

// The level number of a "[levelNN]" line, or 0 when the line is no such section.
int sectionLevel(std::string_view line) {
  constexpr std::string_view kOpen = "[level";
  if (!base::startsWith(line, kOpen) || line.back() != ']') return 0;
  const std::string_view digits = line.substr(kOpen.size(), line.size() - kOpen.size() - 1);
  if (digits.empty() || digits.size() > 3) return 0;
  int number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::string sectionName(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "[level%02d]", number);
  return name;
}

class MetaParser {
 public:
  MetaParser(PackMeta& meta, const std::string& fileName) : meta_(meta), fileName_(fileName) {}

  void parseLine(const std::string& line) {
    ++lineNumber_;
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#' || line[start] == ';') return;
    if (line[start] == '[') return startSection(line.substr(start));
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      return problem("a line reads [levelNN], KEY=TEXT or # comment");
    }
    const std::string key = base::trimmed(line.substr(start, equals - start));
    if (inPack_) return packLine(key, base::trimmed(line.substr(equals + 1)));
    const LevelMetaField* field = findLevelMetaField(key);
    if (field == nullptr) return problem("unknown key (name, idea and hint are known)");
    if (skipping_) return;
    if (level_ == 0) return problem("'" + key + "' before the first [levelNN] line");
    const std::string text = base::trimmed(line.substr(equals + 1));
    const std::string unfit = levelMetaTextProblem(*field, text);
    if (!unfit.empty()) return problem("the " + key + " " + unfit);
    meta_.levels[level_].*field->text = text;
  }

 private:
  void packLine(const std::string& key, const std::string& text) {
    if (key != kPackNameField.key) return problem("unknown key in [pack] (name is known)");
    const std::string unfit = levelMetaTextProblem(kPackNameField, text);
    if (!unfit.empty()) return problem("the pack's name " + unfit);
    meta_.packName = text;
  }

  void startSection(const std::string& line) {
    inPack_ = base::trimmed(line) == kPackSection;
    if (inPack_) {
      level_ = 0;
      skipping_ = false;
      return;
    }
    level_ = sectionLevel(base::trimmed(line));
    skipping_ = level_ < 1 || level_ > kMaxLevelNumber;
    if (skipping_) {
      level_ = 0;
      problem("a section is [pack] or [levelNN], NN the level's number from 1 to " +
              std::to_string(kMaxLevelNumber) + "; its lines are skipped");
    }
  }

  void problem(const std::string& what) {
    meta_.problems.push_back(fileName_ + ":" + std::to_string(lineNumber_) + ": " + what);
  }

  PackMeta& meta_;
  const std::string& fileName_;
  int lineNumber_ = 0;
  int level_ = 0;          // the section's level number; 0 before the first or in a bad one
  bool skipping_ = false;  // in a bad section, whose lines are not read
  bool inPack_ = false;    // in the [pack] section
};

}  // namespace

const std::vector<LevelMetaField>& levelMetaFields() {
  // The name has to fit the ready sign and the hint one line across the play field.
  static const std::vector<LevelMetaField> fields = {{"name", &LevelMeta::name, 28},
                                                     {"idea", &LevelMeta::idea, 200},
                                                     {"hint", &LevelMeta::hint, 72}};
  return fields;
}

const LevelMetaField* findLevelMetaField(std::string_view key) {
  for (const LevelMetaField& field : levelMetaFields()) {
    if (key == field.key) return &field;
  }
  return nullptr;
}

std::string levelMetaTextProblem(const LevelMetaField& field, std::string_view text) {
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte == '\n' || byte == '\r') return "must be one line";
    if (byte < 0x20 || byte == 0x7F) return "holds a control character";
    if (byte >= 0x80) return "holds a character outside ASCII";
  }
  if (text.size() > field.maxChars) {
    return "has " + std::to_string(text.size()) + " characters, at most " +
           std::to_string(field.maxChars) + " fit";
  }
  if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) {
    return "starts or ends with a space";
  }
  return "";
}

LevelMeta PackMeta::levelMeta(int number) const {
  const auto found = levels.find(number);
  return found == levels.end() ? LevelMeta{} : found->second;
}

PackMeta parsePackMeta(std::string_view text, const std::string& fileName) {
  PackMeta meta;
  MetaParser parser(meta, fileName);
  for (const base::Line& line : base::splitLines(text)) parser.parseLine(line.text);
  return meta;
}

PackMeta readPackMeta(const std::string& path) {
  const base::FileText file = base::readTextFile(path, kMaxMetaBytes);
  if (file.status == base::FileText::Status::Missing) return {};
  if (file.status == base::FileText::Status::Unusable) {
    PackMeta meta;
    meta.problems.push_back(file.note);
    return meta;
  }
  PackMeta meta = parsePackMeta(file.text, path);
  if (file.cutShort) {
    meta.problems.push_back(path + ": longer than " + std::to_string(kMaxMetaBytes >> 10) +
                            " KiB; the rest is not read");
  }
  return meta;
}

std::string packNameProblem(std::string_view text) {
  return levelMetaTextProblem(kPackNameField, text);
}

std::string writePackMeta(const std::map<int, LevelMeta>& levels, const std::string& packName) {
  std::string out = "# The names, ideas and hints of this pack's levels.\n";
  if (!packName.empty()) {
    out += std::string(kPackSection) + '\n' + kPackNameField.key + '=' + packName + '\n';
  }
  for (const auto& [number, meta] : levels) {
    if (meta.empty()) continue;
    out += sectionName(number) + '\n';
    for (const LevelMetaField& field : levelMetaFields()) {
      const std::string& text = meta.*field.text;
      if (!text.empty()) out += std::string(field.key) + '=' + text + '\n';
    }
  }
  return out;
}

}  // namespace mdx::world
