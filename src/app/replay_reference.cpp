#include "app/replay_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <map>
#include <ostream>
#include <vector>

#include "world/state_text.h"

namespace mdx::app {

namespace {

using world::StateEntry;

// The JSON line of one step: the entries of now that differ from before.
std::string stepLine(int step, const std::vector<StateEntry>& before,
                     const std::vector<StateEntry>& now) {
  std::string line = "{\"step\":" + std::to_string(step);
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (i < before.size() && before[i].text == now[i].text) continue;
    line += "," + world::jsonString(now[i].key) + ":" + now[i].text;
  }
  return line + "}";
}

// Reads a JSON string literal starting at text[at] == '"' without undoing its escapes (keys
// and values are compared as the writer wrote them). Returns the position after it.
std::size_t skipString(const std::string& text, std::size_t at) {
  for (++at; at < text.size(); ++at) {
    if (text[at] == '\\') {
      ++at;
    } else if (text[at] == '"') {
      return at + 1;
    }
  }
  return std::string::npos;
}

// Parses one reference line, {"key":value,...} with values as bare numbers or strings, into
// key -> value text. False when the line is not of that shape.
bool parseLine(const std::string& text, std::vector<std::pair<std::string, std::string>>& pairs) {
  if (text.size() < 2 || text.front() != '{' || text.back() != '}') return false;
  std::size_t at = 1;
  while (at < text.size() - 1) {
    if (text[at] != '"') return false;
    const std::size_t keyEnd = skipString(text, at);
    if (keyEnd == std::string::npos || keyEnd >= text.size() || text[keyEnd] != ':') return false;
    std::string key = text.substr(at + 1, keyEnd - at - 2);
    std::size_t valueEnd = keyEnd + 1;
    if (valueEnd < text.size() && text[valueEnd] == '"') {
      valueEnd = skipString(text, valueEnd);
      if (valueEnd == std::string::npos) return false;
    } else {
      valueEnd = text.find_first_of(",}", valueEnd);
    }
    if (valueEnd >= text.size() || (text[valueEnd] != ',' && valueEnd != text.size() - 1))
      return false;
    pairs.emplace_back(std::move(key), text.substr(keyEnd + 1, valueEnd - keyEnd - 1));
    at = valueEnd + (text[valueEnd] == ',' ? 1 : 0);
  }
  return true;
}

// Floats match within a millionth of their size: the same replay on another compiler or
// machine may round the animation values differently in the last bits.
bool sameValue(const StateEntry& actual, const std::string& expected) {
  if (actual.text == expected) return true;
  if (!actual.real) return false;
  char* end = nullptr;
  const double want = std::strtod(expected.c_str(), &end);
  if (end == expected.c_str() || *end != '\0') return false;
  const double got = std::strtod(actual.text.c_str(), nullptr);
  return std::fabs(got - want) <= 1e-6 * std::max({1.0, std::fabs(got), std::fabs(want)});
}

// The expected state, kept up to date from the reference's lines.
class Expectation {
 public:
  Expectation() {
    for (const StateEntry& entry : world::stateEntries(world::GameState{})) {
      index_[entry.key] = values_.size();
      values_.push_back(entry.text);
    }
  }

  // Applies one line's changes; false with problem set when it names no field.
  bool apply(const std::vector<std::pair<std::string, std::string>>& pairs, std::string& problem) {
    for (std::size_t i = 1; i < pairs.size(); ++i) {
      auto found = index_.find(pairs[i].first);
      if (found == index_.end()) {
        problem = "unknown field " + pairs[i].first;
        return false;
      }
      values_[found->second] = pairs[i].second;
    }
    return true;
  }

  // The first entry of state that differs, as "field F: expected X, got Y"; empty if none.
  std::string firstDifference(const world::GameState& state) const {
    const std::vector<StateEntry> actual = world::stateEntries(state);
    for (std::size_t i = 0; i < actual.size() && i < values_.size(); ++i) {
      if (!sameValue(actual[i], values_[i]))
        return "field " + actual[i].key + ": expected " + values_[i] + ", got " + actual[i].text;
    }
    return "";
  }

 private:
  std::map<std::string, std::size_t> index_;
  std::vector<std::string> values_;
};

}  // namespace

void writeReplayReference(const Replay& replay, const world::PackLayout& pack, std::ostream& out) {
  std::vector<StateEntry> before = world::stateEntries(world::GameState{});
  runReplay(replay, pack, [&](int step, const world::GameState& state) {
    std::vector<StateEntry> now = world::stateEntries(state);
    out << stepLine(step, before, now) << "\n";
    before = std::move(now);
  });
}

std::optional<std::string> checkReplayReference(const Replay& replay, const world::PackLayout& pack,
                                                std::istream& reference) {
  Expectation expected;
  std::optional<std::string> failure;
  runReplay(replay, pack, [&](int step, const world::GameState& state) {
    if (failure) return;
    std::string line;
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string problem;
    if (!std::getline(reference, line)) {
      failure = "step " + std::to_string(step) + ": the reference ends before the replay";
    } else if (!parseLine(line, pairs) || pairs.empty() || pairs[0].first != "step" ||
               pairs[0].second != std::to_string(step)) {
      failure = "reference line " + std::to_string(step + 1) + " is not step " +
                std::to_string(step) + "'s {\"step\":" + std::to_string(step) + ",...}";
    } else if (!expected.apply(pairs, problem)) {
      failure = "reference line " + std::to_string(step + 1) + ": " + problem;
    } else if (std::string difference = expected.firstDifference(state); !difference.empty()) {
      failure = "step " + std::to_string(step) + ", " + difference;
    }
  });
  std::string extra;
  if (!failure && std::getline(reference, extra))
    failure = "the replay ends before its reference: " + extra.substr(0, 40);
  return failure;
}

}  // namespace mdx::app
