// SPDX-License-Identifier: MIT
#include "cli_common.hpp"

#include <cctype>
#include <iostream>

#include "exit_codes.hpp"

namespace cli {

int Usage(const std::string& why) {
  std::cerr << "dorvan-marker: " << why << "\n"
            << "Try 'dorvan-marker --help'.\n";
  return kUsage;
}

void Complain(const std::string& message) { std::cerr << "dorvan-marker: " << message << "\n"; }

std::filesystem::path FileSystemPath(const std::string& path) {
#if defined(_WIN32)
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

std::string PathText(const std::filesystem::path& path) {
#if defined(_WIN32)
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

bool OptionsOf(const Arguments& args, dorvan_marker::ImportOptions& options, std::string& why) {
#if defined(_WIN32)
  options.paths = kPaths;
#endif
  options.loader = args.Option("--loader", "");
  if (args.options.count("--loader") != 0 && options.loader.empty()) {
    why = "--loader needs a path";
    return false;
  }
  const std::string requested = args.Option("--codepage", "");
  if (requested.empty()) return true;
  options.code_page = dorvan_marker::OfferedCodePage(requested);
  if (options.code_page.empty()) {
    why = dorvan_marker::UnknownCodePage(requested);
    return false;
  }
  return true;
}

}  // namespace cli
