#include "level/legend.h"

#include "base/text.h"
#include "world/cell_table.h"

namespace mdx::level {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The codes of a layer that have a default character, in the cell table's order.
std::vector<LegendDefault> entriesOf(world::Layer layer) {
  std::vector<LegendDefault> entries;
  for (const world::CellKind& kind : world::kCellKinds) {
    if (kind.layer != layer || kind.symbol == 0) continue;
    entries.push_back(
        {kind.symbol, kind.firstCode, kind.name, (kind.flags & world::kPlainSymbol) != 0});
  }
  return entries;
}

}  // namespace

const std::vector<LegendDefault>& defaultBlockEntries() {
  static const std::vector<LegendDefault> entries = entriesOf(world::Layer::Block);
  return entries;
}

const std::vector<LegendDefault>& defaultDeviceEntries() {
  static const std::vector<LegendDefault> entries = entriesOf(world::Layer::Device);
  return entries;
}

const LegendDefault* findDefault(const std::vector<LegendDefault>& entries, char symbol) {
  for (const LegendDefault& entry : entries) {
    if (entry.symbol == symbol) return &entry;
  }
  return nullptr;
}

Legend Legend::defaultBlocks() {
  Legend legend;
  for (const LegendDefault& entry : defaultBlockEntries()) legend.define(entry.symbol, entry.code);
  return legend;
}

Legend Legend::defaultDevices() {
  Legend legend;
  for (const LegendDefault& entry : defaultDeviceEntries()) legend.define(entry.symbol, entry.code);
  return legend;
}

void Legend::define(char c, int32_t code) {
  auto old = codes_.find(c);
  if (old != codes_.end() && chars_[old->second] == c) chars_.erase(old->second);
  codes_[c] = code;
  chars_.emplace(code, c);
}

bool Legend::codeOf(char c, int32_t& code) const {
  auto found = codes_.find(c);
  if (found == codes_.end()) return false;
  code = found->second;
  return true;
}

char Legend::charFor(int32_t code) const {
  auto found = chars_.find(code);
  return found == chars_.end() ? kCellTableChar : found->second;
}

std::string escapeText(const std::string& text) {
  // Editors drop trailing spaces, so those are escaped too.
  const size_t trailing = text.find_last_not_of(' ') + 1;
  std::string out =
      base::escaped(std::string_view(text).substr(0, trailing), base::NonAscii::Escape);
  for (size_t i = trailing; i < text.size(); ++i) out += "\\x20";
  return out;
}

bool unescapeText(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      out += '\\';
      ++i;
      continue;
    }
    if (i + 3 >= text.size() || text[i + 1] != 'x') return false;
    int high = hexDigit(text[i + 2]);
    int low = hexDigit(text[i + 3]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return true;
}

}  // namespace mdx::level
