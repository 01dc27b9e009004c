// SPDX-License-Identifier: MIT
// dorvan-marker: the command line of the dorvan_marker library.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli_arguments.hpp"
#include "dorvan_marker/import.hpp"

namespace {

// Exit codes; stable, documented in --help.
enum Exit : int {
  kOk = 0,
  kNoStyles = 1,
  kCannotOpen = 2,
  kNoModels = 3,
  kMalformed = 4,
  kCannotWrite = 5,
  kUsage = 64,
};

const char* const kHelp =
    "usage: dorvan-marker COMMAND [OPTIONS] MARKER\n"
    "\n"
    "Reads a marker file (garment pieces laid on fabric, saved as colon-separated text)\n"
    "and the model files (.mdl) beside it.\n"
    "\n"
    "commands:\n"
    "  styles MARKER                  print the marker's model names, one a line\n"
    "  import MARKER [--out-dir DIR]  write DIR/csvimprt.txt and DIR/posimport.txt for the\n"
    "                                 host and print the marker's name (DIR defaults to .)\n"
    "\n"
    "options:\n"
    "  --codepage CP   code page of names: 1252, 932, 936, 949, 950 or utf-8\n"
    "                  (default: the system's)\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "\n"
    "Only results go to stdout; every message goes to stderr.\n"
    "\n"
    "exit codes:\n"
    "  0   done\n"
    "  1   styles: the marker has no model names (\"VMDL\" records)\n"
    "  2   the marker file cannot be opened\n"
    "  3   import: the marker holds no models\n"
    "  4   the marker is malformed (the message names file, line, section and field)\n"
    "  5   import: the host files cannot be written (neither file is changed)\n"
    "  64  the command line is wrong\n";

int Usage(const std::string& why) {
  std::cerr << "dorvan-marker: " << why << "\n" << "Try 'dorvan-marker --help'.\n";
  return kUsage;
}

dorvan_marker::ImportOptions OptionsOf(const cli::Arguments& args) {
  dorvan_marker::ImportOptions options;
  options.code_page = args.Option("--codepage", "");
  return options;
}

int RunStyles(const cli::Arguments& args) {
  if (args.positional.size() != 1) return Usage("styles takes one marker file");
  std::vector<std::string> styles;
  const auto result = dorvan_marker::ReadStyleList(args.positional[0], styles, OptionsOf(args));
  switch (result.status) {
    case dorvan_marker::StyleListStatus::Listed:
      for (const std::string& style : styles) std::cout << style << '\n';
      return kOk;
    case dorvan_marker::StyleListStatus::NoStyles:
      std::cerr << "dorvan-marker: " << result.message << "\n";
      return kNoStyles;
    case dorvan_marker::StyleListStatus::CannotOpen:
      std::cerr << "dorvan-marker: " << result.message << "\n";
      return kCannotOpen;
    case dorvan_marker::StyleListStatus::Malformed:
      std::cerr << "dorvan-marker: " << result.message << "\n";
      return kMalformed;
  }
  return kMalformed;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}

int RunImport(const cli::Arguments& args) {
  if (args.positional.size() != 1) return Usage("import takes one marker file");
  const std::string folder = args.Option("--out-dir", ".");
  const dorvan_marker::HostFilePaths out{JoinPath(folder, "csvimprt.txt"), JoinPath(folder, "posimport.txt")};
  const auto result = dorvan_marker::ImportMarker(args.positional[0], out, OptionsOf(args));
  if (result.status == dorvan_marker::ImportStatus::Imported) {
    std::cout << result.title << '\n';
    return kOk;
  }
  std::cerr << "dorvan-marker: " << result.message << "\n";
  switch (result.status) {
    case dorvan_marker::ImportStatus::CannotOpen: return kCannotOpen;
    case dorvan_marker::ImportStatus::NoModels: return kNoModels;
    case dorvan_marker::ImportStatus::CannotWrite: return kCannotWrite;
    default: return kMalformed;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const cli::Arguments args = cli::Parse(argc, argv, {"--out-dir", "--codepage"}, {"--help", "-h", "--version"});
  if (!args.error.empty()) return Usage(args.error);
  if (args.Has("--help") || args.Has("-h")) {
    std::cout << kHelp;
    return kOk;
  }
  if (args.Has("--version")) {
    std::cout << "dorvan-marker " << dorvan_marker::Version() << "\n";
    return kOk;
  }
  try {
    if (args.command == "styles") return RunStyles(args);
    if (args.command == "import") return RunImport(args);
  } catch (const std::exception& error) {
    std::cerr << "dorvan-marker: " << error.what() << "\n";
    return kMalformed;
  }
  if (args.command.empty()) return Usage("no command given");
  return Usage("unknown command " + args.command);
}
