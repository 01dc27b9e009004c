// SPDX-License-Identifier: MIT
// dorvan-marker styles: the model names of one or more markers.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "batch.hpp"
#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/json.hpp"
#include "dorvan_marker/render.hpp"
#include "dorvan_marker/report.hpp"
#include "exit_codes.hpp"

namespace cli {
namespace {

void PrintText(const std::vector<dorvan_marker::MarkerStyles>& markers) {
  const bool several = markers.size() > 1;
  std::vector<std::vector<std::string>> table = {{"marker", "styles", "result"}};
  for (const dorvan_marker::MarkerStyles& marker : markers) {
    if (several) std::cout << "==> " << marker.path << " <==\n";
    for (const std::string& style : marker.styles) std::cout << style << '\n';
    if (!marker.result.message.empty()) Complain(marker.result.message);
    table.push_back(
        {marker.path, std::to_string(marker.styles.size()), dorvan_marker::StatusName(marker.result.status)});
  }
  if (several) std::cout << "\n" << dorvan_marker::AlignedTable(table);
}

}  // namespace

int RunStyles(const Arguments& args) {
  if (args.positional.empty()) return Usage("styles takes one or more marker files");
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);

  std::vector<dorvan_marker::MarkerStyles> markers;
  int exit_code = kOk;
  {
    Progress progress(args.positional.size());
    for (std::size_t i = 0; i < args.positional.size(); ++i) {
      progress.Show(i, args.positional[i]);
      dorvan_marker::MarkerStyles marker;
      marker.path = args.positional[i];
      marker.result = dorvan_marker::ReadStyleList(marker.path, marker.styles, options);
      exit_code =
          std::max(exit_code, ExitOf(dorvan_marker::OutcomeOf(marker.result.status), dorvan_marker::Task::ListStyles));
      markers.push_back(std::move(marker));
    }
  }
  if (args.Has("--json")) {
    std::cout << dorvan_marker::StylesJson(markers, dorvan_marker::CodePageName(options));
  } else {
    PrintText(markers);
  }
  return exit_code;
}

}  // namespace cli
