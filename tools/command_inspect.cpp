// SPDX-License-Identifier: MIT
// dorvan-marker inspect: what the import would do with one or more markers, and what it
// would pass over in silence.
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
#include "report_exit.hpp"

namespace cli {

int RunInspect(const Arguments& args) {
  if (args.positional.empty()) return Usage("inspect takes one or more marker files");
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);
  dorvan_marker::Cutting cutting;
  if (!CuttingOf(args, cutting, why)) return Usage(why);
  const bool json = args.Has("--json");
  const bool csv = args.Has("--csv");
  if (json && csv) return Usage("inspect takes --json or --csv, not both");
  const bool several = args.positional.size() > 1;

  std::vector<dorvan_marker::MarkerSheet> reports;
  int exit_code = kOk;
  {
    Progress progress(args.positional.size());
    for (std::size_t i = 0; i < args.positional.size(); ++i) {
      progress.Show(i, args.positional[i]);
      reports.push_back(dorvan_marker::InspectMarkerSheet(args.positional[i], options));
      exit_code = std::max(exit_code, ReportExit(reports.back(), args.Has("--strict")));
    }
  }
  if (json || csv) {
    std::cout << (json ? dorvan_marker::InspectJson(reports, dorvan_marker::CodePageName(options), cutting)
                       : dorvan_marker::InspectCsv(reports, cutting));
    if (several) std::cerr << dorvan_marker::SummaryTable(reports);
    return exit_code;
  }
  std::cout << dorvan_marker::InspectText(reports, cutting);
  return exit_code;
}

}  // namespace cli
