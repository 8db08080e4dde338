#include "app/player_files.h"

#include <cstdlib>
#include <utility>

#include "base/text.h"

namespace mdx::app {

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

namespace {

// How many bytes of a UTF-8 character start at text[at]: 2 to 4, or 0 when none does.
std::size_t utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4  ? 4
                             : lead >= 0xE0                ? 3
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                                                           : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = at + 1; i < at + length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string quotedLine(const std::string& line) {
  const std::string shown = line.size() <= 40 ? line : line.substr(0, 40);
  std::string out = "\"";
  for (std::size_t at = 0; at < shown.size();) {
    const auto byte = static_cast<unsigned char>(shown[at]);
    const std::size_t character = byte >= 0x80 ? utf8Length(shown, at) : 1;
    if (byte >= 0x80 && character > 0) {
      out += shown.substr(at, character);  // readable text in any language stays as it is
      at += character;
      continue;
    }
    if (byte < 0x20 || byte >= 0x7F || byte == '"' || byte == '\\') {
      static const char kHex[] = "0123456789ABCDEF";
      out += byte == '"'    ? "\\\""
             : byte == '\\' ? "\\\\"
                            : std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    } else {
      out += static_cast<char>(byte);
    }
    ++at;
  }
  return out + (line.size() <= 40 ? "\"" : "...\"");
}

std::string xdgFolder(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return "";
  return std::string(home) + "/" + fallback;
}

}  // namespace mdx::app
