#include "world/state_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "world/state_fields.h"

namespace mdx::world {
namespace {

template <typename T>
struct IsArray : std::false_type {};
template <typename T, std::size_t N>
struct IsArray<std::array<T, N>> : std::true_type {};

std::string scalarText(const std::string& text) {
  return jsonString(text);
}
std::string scalarText(float value) {
  return jsonFloat(value);
}
template <typename Int>
std::string scalarText(Int value) {
  return std::to_string(static_cast<long long>(value));
}

// Calls emit(suffix, scalar) for a value and, for arrays, every element ("[i]", "[i][j]").
template <typename Value, typename Emit>
void forEachScalar(const Value& value, const std::string& suffix, Emit&& emit) {
  if constexpr (IsArray<Value>::value) {
    for (std::size_t i = 0; i < value.size(); ++i)
      forEachScalar(value[i], suffix + "[" + std::to_string(i) + "]", emit);
  } else {
    emit(suffix, value);
  }
}

constexpr uint64_t kHashStart = 0xCBF29CE484222325ull;

uint64_t mixWord(uint64_t hash, uint64_t word) {
  hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
  return hash ^ (hash >> 32);
}

uint64_t loadWord(const unsigned char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// The bytes of plain values, eight at a time in four independent lanes (then a word at a
// time, then a short tail zero-filled with its length mixed in): the solver hashes the grids
// of every piece outcome it meets, so this is kept cheap.
void hashBytes(uint64_t& hash, const void* data, std::size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  constexpr std::size_t kWord = sizeof(uint64_t);
  std::size_t i = 0;
  if (size >= 4 * kWord) {
    uint64_t lanes[4] = {hash, hash + 1, hash + 2, hash + 3};
    for (; i + 4 * kWord <= size; i += 4 * kWord) {
      for (std::size_t lane = 0; lane < 4; ++lane) {
        lanes[lane] = mixWord(lanes[lane], loadWord(bytes + i + lane * kWord));
      }
    }
    for (uint64_t lane : lanes) hash = mixWord(hash, lane);
  }
  for (; i + kWord <= size; i += kWord) hash = mixWord(hash, loadWord(bytes + i));
  if (i < size) {
    uint64_t word = 0;
    std::memcpy(&word, bytes + i, size - i);
    hash = mixWord(hash, word ^ (static_cast<uint64_t>(size - i) << 59));
  }
}

// A field's bytes; a string as its length and characters. The arrays of the state are plain
// numbers without padding, so their bytes are their elements' bytes in order.
template <typename Value>
void hashValue(uint64_t& hash, const Value& value) {
  if constexpr (std::is_same_v<Value, std::string>) {
    const std::size_t size = value.size();
    hashBytes(hash, &size, sizeof size);
    hashBytes(hash, value.data(), value.size());
  } else {
    static_assert(std::has_unique_object_representations_v<Value> ||
                  std::is_floating_point_v<Value> || IsArray<Value>::value);
    hashBytes(hash, &value, sizeof value);
  }
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string jsonFloat(float value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

std::vector<StateEntry> stateEntries(const GameState& state) {
  std::vector<StateEntry> entries;
  visitState(state, [&entries](const char* name, const auto& value) {
    forEachScalar(value, name, [&entries](const std::string& key, const auto& scalar) {
      const bool real = std::is_floating_point_v<std::decay_t<decltype(scalar)>>;
      entries.push_back({key, scalarText(scalar), real});
    });
  });
  return entries;
}

std::string fieldJson(const GameState& state, std::string_view name) {
  std::string out;
  visitState(state, [&](const char* fieldName, const auto& value) {
    if (name != fieldName) return;
    std::string list;
    forEachScalar(value, "", [&list](const std::string&, const auto& scalar) {
      if (!list.empty()) list += ',';
      list += scalarText(scalar);
    });
    out = IsArray<std::decay_t<decltype(value)>>::value ? "[" + list + "]" : list;
  });
  if (out.empty()) throw std::logic_error("no state field named " + std::string(name));
  return out;
}

uint64_t fieldsHash(const GameState& state, std::initializer_list<std::string_view> names) {
  uint64_t hash = kHashStart;
  for (std::string_view name : names) {
    bool found = false;
    visitState(state, [&](const char* fieldName, const auto& value) {
      if (name != fieldName) return;
      found = true;
      hashValue(hash, value);
    });
    if (!found) throw std::logic_error("no state field named " + std::string(name));
  }
  return hash;
}

std::string stateJson(const GameState& state) {
  std::string out;
  visitState(state, [&](const char* name, const auto&) {
    out += (out.empty() ? "{" : ",") + jsonString(name) + ":" + fieldJson(state, name);
  });
  return out + "}";
}

uint64_t stateHash(const GameState& state) {
  uint64_t hash = kHashStart;
  visitState(state, [&hash](const char*, const auto& value) { hashValue(hash, value); });
  return hash;
}

}  // namespace mdx::world
