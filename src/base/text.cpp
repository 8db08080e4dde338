#include "base/text.h"

namespace mdx::base {

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
