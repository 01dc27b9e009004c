// SPDX-License-Identifier: MIT
// dorvan-marker render: a picture of one marker.
#include <iostream>
#include <string>

#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/error.hpp"
#include "dorvan_marker/render.hpp"
#include "dorvan_marker/report.hpp"
#include "exit_codes.hpp"
#include "report_exit.hpp"

namespace cli {

int RunRender(const Arguments& args) {
  if (args.positional.size() != 1) return Usage("render takes one marker file");
  const std::string out = args.Option("-o", "");
  if (out.empty()) return Usage("render needs -o FILE.svg");
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);

  const dorvan_marker::MarkerReport report = dorvan_marker::InspectMarker(args.positional[0], options);
  // Diagnostics go to stderr; lost placements are drawn, so they do not stop the picture.
  for (const dorvan_marker::Diagnostic& diagnostic : report.diagnostics)
    std::cerr << dorvan_marker::DiagnosticLine(diagnostic) << "\n";
  if (report.status != dorvan_marker::ReportStatus::Read) return StatusExit(report.status);
  try {
    dorvan_marker::OutputFile file(out, kPaths);
    file.Write(dorvan_marker::MarkerSvg(report));
    file.Commit();
  } catch (const dorvan_marker::HostFileError& failure) {
    Complain(failure.what());
    return kCannotWrite;
  }
  return kOk;
}

}  // namespace cli
