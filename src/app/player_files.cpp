#include "app/player_files.h"

#include <cstdlib>
#include <utility>

#include "base/text.h"

namespace mdx::app {

namespace {

// How much of a line a note quotes.
constexpr std::size_t kQuotedBytes = 40;

}  // namespace

void readNotedFile(const std::string& path, const std::string& what, const NoteSink& note,
                   const TextParser& parse) {
  const base::FileText file = base::readTextFile(path, kSmallFileLimit);
  if (file.status == base::FileText::Status::Unusable) {
    note(what + " not read: " + file.note);
    return;
  }
  if (file.cutShort) note(what + ": only the first 64 KiB of \"" + path + "\" read");
  std::vector<std::string> notes;
  parse(file.text, notes);
  for (const std::string& line : notes) note(what + " \"" + path + "\": " + line);
}

bool writeNotedFile(const std::string& path, const std::string& text, const std::string& what,
                    const NoteSink& note, const FileWriter& writer) {
  std::string error;
  if (base::writeFileSafely(path, text, error, writer)) return true;
  note(what + " not saved: " + error);
  return false;
}

std::vector<TextLine> nonEmptyLines(const std::string& text) {
  std::vector<TextLine> lines;
  int number = 0;
  for (base::Line& line : base::splitLines(text)) {
    ++number;
    if (!line.text.empty()) lines.push_back({number, std::move(line.text)});
  }
  return lines;
}

std::string quotedLine(const std::string& line) {
  // Cut first, so an escape is never cut in half.
  const bool cut = line.size() > kQuotedBytes;
  std::string out = "\"";
  for (char c : base::escaped(cut ? line.substr(0, kQuotedBytes) : line)) {
    out += c == '"' ? std::string("\\\"") : std::string(1, c);
  }
  return out + (cut ? "...\"" : "\"");
}

std::string xdgFolder(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return "";
  return std::string(home) + "/" + fallback;
}

}  // namespace mdx::app
