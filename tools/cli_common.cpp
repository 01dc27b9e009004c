// SPDX-License-Identifier: MIT
#include "cli_common.hpp"

#if defined(_WIN32)
#  include <windows.h>
#endif

#include <cctype>
#include <iostream>

#include "exit_codes.hpp"

namespace cli {

int Usage(const std::string& why) {
  std::cerr << "dorvan-marker: " << why << "\n"
            << "Try 'dorvan-marker --help'.\n";
  return kUsage;
}

std::filesystem::path PathOf(const std::string& text) {
#if defined(_WIN32)
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return std::filesystem::path(wide);
#else
  return std::filesystem::path(text);
#endif
}

void Complain(const std::string& message) { std::cerr << "dorvan-marker: " << message << "\n"; }

bool OptionsOf(const Arguments& args, dorvan_marker::ImportOptions& options, std::string& why) {
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
