#include "base/text.h"

#include <cstdio>

namespace mdx::base {

namespace {

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the printable UTF-8 character at text[at], or 0 when the bytes there are none:
// a bad or cut sequence, an overlong form, a surrogate, beyond U+10FFFF, or one of the C1
// controls U+0080 to U+009F.
std::size_t utf8Length(std::string_view text, std::size_t at) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    if (lead == 0xC2) low = 0xA0;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!isContinuation(byte(at + i))) return 0;
  }
  return length;
}

}  // namespace

std::string escaped(std::string_view text, NonAscii nonAscii) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t utf8 = c >= 0x80 && nonAscii == NonAscii::KeepUtf8 ? utf8Length(text, i) : 0;
    if (utf8 > 0) {
      out.append(text.substr(i, utf8));
      i += utf8 - 1;
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    if (feed == std::string_view::npos) {
      std::string_view last = text.substr(start);
      if (last.back() == '\r') last.remove_suffix(1);
      lines.push_back({std::string(last), LineEnd::None});
      break;
    }
    const bool crlf = feed > start && text[feed - 1] == '\r';
    const std::size_t end = crlf ? feed - 1 : feed;
    lines.push_back(
        {std::string(text.substr(start, end - start)), crlf ? LineEnd::CrLf : LineEnd::Lf});
    start = feed + 1;
  }
  return lines;
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t") + 1 - first));
}

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string firstWord(std::string_view line) {
  // The white space of the C locale: space and \t \n \v \f \r.
  constexpr std::string_view kSpace = " \t\n\v\f\r";
  const std::size_t begin = line.find_first_not_of(kSpace);
  if (begin == std::string_view::npos) return "";
  const std::size_t end = line.find_first_of(kSpace, begin);
  return std::string(line.substr(begin, end == std::string_view::npos ? end : end - begin));
}

}  // namespace mdx::base
