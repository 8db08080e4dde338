#include "cli/tool_args.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace mdx::cli {
namespace {

// The option an argument names, through its own name or an alias; nullptr when unknown.
const Option* findOption(const std::vector<Option>& options, const std::string& name) {
  for (const Option& option : options) {
    if (option.name == name) return &option;
    if (std::find(option.aliases.begin(), option.aliases.end(), name) != option.aliases.end())
      return &option;
  }
  return nullptr;
}

std::string heading(const Option& option) {
  return option.value.empty() ? option.name : option.name + " " + option.value;
}

}  // namespace

Option dataOption() {
  return {"--data",
          "DIR",
          "the game data folder (pictures, map packs); without it\n"
          "the one the game beside the tool uses ($MARVOLEN_DATA,\n"
          "the game's folder, the installed data, $XDG_DATA_DIRS)",
          {"--game-dir", "--dir"}};
}

Option budgetOption(const std::string& help) {
  return {"--budget", "SECONDS", help, {"--max-seconds"}};
}

Option logOption(const std::string& help) {
  return {"--log", "FILE", help, {}};
}

std::string ParsedArgs::value(const std::string& name, const std::string& fallback) const {
  const auto found = values.find(name);
  return found == values.end() ? fallback : found->second;
}

double ParsedArgs::positive(const std::string& name, double fallback) {
  if (!has(name)) return fallback;
  const std::string text = value(name);
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(number > 0)) {
    if (error.empty()) error = name + " needs a positive number, not '" + text + "'";
    return fallback;
  }
  return number;
}

std::optional<long long> ParsedArgs::whole(const std::string& name) {
  if (!has(name)) return std::nullopt;
  const std::string text = value(name);
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || text.find_first_of(" \t") == 0) {
    if (error.empty()) error = name + " needs a whole number, not '" + text + "'";
    return std::nullopt;
  }
  return number;
}

ParsedArgs parseArgs(const std::vector<Option>& options, const std::vector<std::string>& args) {
  ParsedArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    if (name == "--help" || name == "-h") {
      parsed.help = true;
      continue;
    }
    if (name.rfind("-", 0) != 0 || name == "-") {
      parsed.words.push_back(name);
      continue;
    }
    std::optional<std::string> value;
    const std::size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const Option* option = findOption(options, name);
    if (!option || (option->value.empty() && value)) {
      parsed.error = "unknown option '" + args[i] + "'";
      return parsed;
    }
    if (!option->value.empty() && !value) {
      if (i + 1 >= args.size()) {
        parsed.error = name + " needs a value (" + option->value + ")";
        return parsed;
      }
      value = args[++i];
    }
    parsed.values[option->name] = value.value_or("");
  }
  return parsed;
}

ParsedArgs parseArgs(const std::vector<Option>& options, int argc, char** argv) {
  return parseArgs(options, std::vector<std::string>(argv, argv + argc));
}

std::string optionHelp(const std::vector<Option>& tableOptions) {
  std::vector<Option> options = tableOptions;
  options.push_back({"--help", "", "show this text and exit", {}});
  std::size_t column = 0;
  for (const Option& option : options) column = std::max(column, heading(option).size());
  column += 4;  // two spaces before the name, two after the longest heading
  std::string text;
  for (const Option& option : options) {
    std::string line = "  " + heading(option);
    line.resize(column, ' ');
    for (char c : option.help) {
      line += c;
      if (c == '\n') line += std::string(column, ' ');
    }
    text += line + "\n";
  }
  return text;
}

std::string optionSynopsis(const std::vector<Option>& options) {
  std::string text;
  for (const Option& option : options) text += (text.empty() ? "[" : " [") + heading(option) + "]";
  return text;
}

}  // namespace mdx::cli
