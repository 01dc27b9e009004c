// SPDX-License-Identifier: MIT
// dorvan-marker render: a picture of one marker.
#include <fstream>
#include <iostream>
#include <string>

#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/report.hpp"
#include "exit_codes.hpp"
#include "report_text.hpp"
#include "svg_marker.hpp"

namespace cli {
namespace {

int ExitOf(dorvan_marker::ReportStatus status) {
  switch (status) {
    case dorvan_marker::ReportStatus::Read: return kOk;
    case dorvan_marker::ReportStatus::CannotOpen: return kCannotOpen;
    case dorvan_marker::ReportStatus::NoModels: return kNoModels;
    case dorvan_marker::ReportStatus::Malformed: return kMalformed;
    case dorvan_marker::ReportStatus::LoaderUnusable: return kLoaderUnusable;
  }
  return kMalformed;
}

// Writes text to path whole, or reports why not.
bool WriteWhole(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (file) file.close();
  return static_cast<bool>(file);
}

}  // namespace

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
    std::cerr << DiagnosticLine(diagnostic) << "\n";
  if (report.status != dorvan_marker::ReportStatus::Read) return ExitOf(report.status);
  if (!WriteWhole(out, MarkerSvg(report))) {
    Complain("cannot write " + out);
    return kCannotWrite;
  }
  return kOk;
}

}  // namespace cli
