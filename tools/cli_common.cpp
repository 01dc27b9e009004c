// SPDX-License-Identifier: MIT
#include "cli_common.hpp"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>

#include "dorvan_marker/plan.hpp"

#include "exit_codes.hpp"

namespace cli {

int Usage(const std::string& why) {
  std::cerr << "dorvan-marker: " << why << "\n"
            << "Try 'dorvan-marker --help'.\n";
  return kUsage;
}

bool ReadMillimetres(const std::string& text, std::int64_t& um) {
  const std::size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  if (whole.empty() || fraction.size() > 3 || (point != std::string::npos && fraction.empty())) return false;
  if ((whole + fraction).find_first_not_of("0123456789") != std::string::npos || whole.size() > 9) return false;
  fraction.append(3 - fraction.size(), '0');
  um = std::stoll(whole) * 1000 + std::stoll(fraction);
  return true;
}

bool ReadPlies(const std::string& text, int& plies) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), plies);
  return error == std::errc{} && end == text.data() + text.size() && plies >= 1 &&
         plies <= dorvan_marker::kPlanMostPlies;
}

bool EndAllowanceOf(const Arguments& args, std::int64_t& um, std::string& why) {
  if (ReadMillimetres(args.Option("--end-allowance", "0"), um)) return true;
  why = "--end-allowance needs millimetres >= 0, with at most three decimals";
  return false;
}

bool CuttingOf(const Arguments& args, dorvan_marker::Cutting& cutting, std::string& why) {
  if (!ReadPlies(args.Option("--plies", "1"), cutting.plies)) {
    why = "--plies needs a whole number from 1 to " + std::to_string(dorvan_marker::kPlanMostPlies);
    return false;
  }
  return EndAllowanceOf(args, cutting.end_allowance_um, why);
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::ifstream file(FileSystemPath(path), std::ios::binary);
  if (!file) return false;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  text = bytes.str();
  return !file.bad();
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
