// SPDX-License-Identifier: MIT
#include "cli_arguments.hpp"

#include <algorithm>

namespace cli {

bool Arguments::Has(const std::string& flag) const {
  return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::string Arguments::Option(const std::string& name, const std::string& fallback) const {
  const auto found = options.find(name);
  return found == options.end() ? fallback : found->second;
}

Arguments Parse(int argc, char** argv, const std::vector<std::string>& value_options,
                const std::vector<std::string>& flag_options) {
  Arguments args;
  auto known = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  bool only_positional = false;
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (only_positional || word.size() < 2 || word[0] != '-') {
      if (args.command.empty() && args.positional.empty() && !only_positional && word.rfind('-', 0) != 0) {
        args.command = word;
      } else {
        args.positional.push_back(word);
      }
      continue;
    }
    if (word == "--") {
      only_positional = true;
      continue;
    }
    std::string value;
    const std::size_t equals = word.find('=');
    bool has_value = equals != std::string::npos;
    if (has_value) {
      value = word.substr(equals + 1);
      word = word.substr(0, equals);
    } else if (word[1] != '-' && word.size() > 2 && known(value_options, word.substr(0, 2))) {
      value = word.substr(2);  // "-j2" as "-j 2"
      word = word.substr(0, 2);
      has_value = true;
    }
    if (known(flag_options, word) && !has_value) {
      args.flags.push_back(word);
    } else if (known(value_options, word)) {
      if (!has_value) {
        if (i + 1 >= argc) {
          args.error = word + " needs a value";
          return args;
        }
        value = argv[++i];
      }
      args.options[word] = value;
    } else {
      args.error = "unknown option " + word;
      return args;
    }
  }
  return args;
}

std::string RefusedOption(const Arguments& args, const std::vector<OptionUse>& uses) {
  std::vector<std::string> given = args.flags;
  for (const auto& [option, value] : args.options) given.push_back(option);
  for (const OptionUse& use : uses) {
    const bool is_given = std::find(given.begin(), given.end(), use.option) != given.end();
    const auto& commands = use.commands;
    if (!is_given || std::find(commands.begin(), commands.end(), args.command) != commands.end()) continue;
    std::string takers;
    for (std::size_t i = 0; i < commands.size(); ++i) {
      takers += (i == 0 ? "" : i + 1 == commands.size() ? " and " : ", ") + commands[i];
    }
    return args.command + " does not take " + use.option + " (" + (commands.size() == 1 ? "only " : "") + takers +
           (commands.size() == 1 ? " takes it)" : " take it)");
  }
  return {};
}

}  // namespace cli
