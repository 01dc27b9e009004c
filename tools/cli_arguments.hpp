// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>
#include <vector>

namespace cli {

// A command line split into its command, positional arguments and options. Options take
// a value ("--out-dir DIR" or "--out-dir=DIR") unless listed as flags.
struct Arguments {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::vector<std::string> flags;
  std::string error;  // set when the line cannot be understood

  bool Has(const std::string& flag) const;
  std::string Option(const std::string& name, const std::string& fallback) const;
};

Arguments Parse(int argc, char** argv, const std::vector<std::string>& value_options,
                const std::vector<std::string>& flag_options);

// An option and the commands that take it.
struct OptionUse {
  std::string option;
  std::vector<std::string> commands;
};

// Why the command of args cannot take one of its options ("styles does not take --paper
// (only report takes it)"); empty when it takes them all. An option the table does not
// list is taken by every command.
std::string RefusedOption(const Arguments& args, const std::vector<OptionUse>& uses);

}  // namespace cli
