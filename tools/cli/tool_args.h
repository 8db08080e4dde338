// The command-line convention shared by marvolen-level, marvolen-sim and marvolen-edit: each tool
// describes its options in a table, parses its arguments against it and prints its --help from
// the same table, so an option's name, value and description are written once.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mdx::cli {

// One option a tool accepts.
struct Option {
  std::string name;                  // "--budget"
  std::string value;                 // the value's name in the help ("SECONDS"); empty: a flag
  std::string help;                  // what it does, one or more lines
  std::vector<std::string> aliases;  // older spellings, still accepted and never shown
};

// The options with one meaning in every tool.
Option dataOption();                           // --data DIR: the game data folder
Option budgetOption(const std::string& help);  // --budget SECONDS: the search's time limit
Option logOption(const std::string& help);     // --log FILE

// The arguments of one command line, sorted by the option table.
struct ParsedArgs {
  std::map<std::string, std::string> values;  // by the option's own name; a flag's value is ""
  std::vector<std::string> words;             // the arguments that are not options, in order
  bool help = false;                          // --help or -h was given
  std::string error;                          // empty when every argument was understood

  bool has(const std::string& name) const { return values.count(name) != 0; }
  // The option's value, or fallback when it was not given.
  std::string value(const std::string& name, const std::string& fallback = "") const;
  // The option's value as a number greater than zero, or fallback when it was not given.
  // Anything else sets error ("--budget needs a positive number, not 'soon'").
  double positive(const std::string& name, double fallback);
  // The option's value as a whole number; bad or out-of-range text sets error.
  std::optional<long long> whole(const std::string& name);
};

// Parses arguments ("--name VALUE" or "--name=VALUE"; aliases are read as their option).
// Unknown options and missing values set error, naming the argument; parsing stops at the first.
ParsedArgs parseArgs(const std::vector<Option>& options, const std::vector<std::string>& args);
ParsedArgs parseArgs(const std::vector<Option>& options, int argc, char** argv);

// One line per option and one for --help: "  --budget SECONDS  how long ...", descriptions
// aligned in a column and continuation lines indented under it.
std::string optionHelp(const std::vector<Option>& options);

// "[--budget SECONDS] [--strict]": the options as a usage line shows them.
std::string optionSynopsis(const std::vector<Option>& options);

}  // namespace mdx::cli
