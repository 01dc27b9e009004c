// SPDX-License-Identifier: MIT
// dorvan-marker import: the two host files of one marker.
#include <iostream>
#include <string>

#include "cli_common.hpp"
#include "commands.hpp"
#include "exit_codes.hpp"

namespace cli {
namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}

}  // namespace

int RunImport(const Arguments& args) {
  if (args.positional.size() != 1) return Usage("import takes one marker file");
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);
  const std::string folder = args.Option("--out-dir", ".");
  const dorvan_marker::HostFilePaths out{JoinPath(folder, "csvimprt.txt"), JoinPath(folder, "posimport.txt")};
  const auto result = dorvan_marker::ImportMarker(args.positional[0], out, options);
  if (result.status == dorvan_marker::ImportStatus::Imported) {
    std::cout << result.title << '\n';
    return kOk;
  }
  Complain(result.message);
  switch (result.status) {
    case dorvan_marker::ImportStatus::CannotOpen: return kCannotOpen;
    case dorvan_marker::ImportStatus::NoModels: return kNoModels;
    case dorvan_marker::ImportStatus::CannotWrite: return kCannotWrite;
    case dorvan_marker::ImportStatus::LoaderUnusable: return kLoaderUnusable;
    default: return kMalformed;
  }
}

}  // namespace cli
