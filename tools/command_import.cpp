// SPDX-License-Identifier: MIT
// dorvan-marker import: the two host files of one marker.
#include <iostream>
#include <string>

#include "cli_common.hpp"
#include "commands.hpp"
#include "exit_codes.hpp"

namespace cli {

int RunImport(const Arguments& args) {
  if (args.positional.size() != 1) return Usage("import takes one marker file");
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);
  const dorvan_marker::HostFilePaths out = dorvan_marker::HostFilePathsIn(args.Option("--out-dir", "."));
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
