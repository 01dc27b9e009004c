// SPDX-License-Identifier: MIT
#include "cli_common.hpp"

#include <cctype>
#include <iostream>

#include "exit_codes.hpp"

namespace cli {
namespace {

// The code pages offered on the command line, by the names users type for them.
bool CanonicalCodePage(const std::string& requested, std::string& name) {
  std::string key;
  for (const char c : requested) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key.rfind("cp", 0) == 0) key.erase(0, 2);
  if (key == "utf8") key = "utf-8";
  for (const char* offered : {"1252", "932", "936", "949", "950", "utf-8"}) {
    if (key == offered) {
      name = key;
      return true;
    }
  }
  return false;
}

}  // namespace

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
  if (!CanonicalCodePage(requested, options.code_page)) {
    why = "unknown code page " + requested + " (1252, 932, 936, 949, 950 or utf-8)";
    return false;
  }
  return true;
}

}  // namespace cli
