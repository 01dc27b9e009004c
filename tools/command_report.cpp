// SPDX-License-Identifier: MIT
// dorvan-marker report: one printable HTML page per marker, for the cutting table.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "batch.hpp"
#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/error.hpp"
#include "dorvan_marker/render.hpp"
#include "dorvan_marker/report.hpp"
#include "exit_codes.hpp"
#include "report_exit.hpp"
#include "workers.hpp"

namespace cli {
namespace {

// One marker's part of the run.
struct Sheet {
  std::string page;   // its HTML, until written
  bool done = false;  // the page is made
  int exit_code = kOk;
  std::vector<std::string> errors;  // why it cannot be read, for stderr
};

// Reads the markers on the machine's cores and writes their pages to file in the markers'
// order, each as soon as its predecessors are, so that a season of markers is never held
// in memory at once. Returns the worst exit code of the markers.
int WritePages(dorvan_marker::OutputFile& file, const std::vector<std::string>& markers,
               const dorvan_marker::ImportOptions& options, bool strict) {
  std::vector<Sheet> sheets(markers.size());
  std::size_t next_to_write = 0;
  {
    Progress progress(markers.size());
    RunOnWorkers(
        markers.size(), MachineCores(),
        [&](std::size_t i) {
          const dorvan_marker::MarkerSheet report = dorvan_marker::InspectMarkerSheet(markers[i], options);
          Sheet& sheet = sheets[i];
          sheet.exit_code = ReportExit(report, strict);
          if (report.status != dorvan_marker::ReportStatus::Read) {
            for (const dorvan_marker::Diagnostic& d : report.diagnostics)
              sheet.errors.push_back(dorvan_marker::DiagnosticLine(d));
          }
          sheet.page = dorvan_marker::HtmlPage(report);
        },
        [&](std::size_t i, std::size_t done) {
          sheets[i].done = true;
          for (; next_to_write < sheets.size() && sheets[next_to_write].done; ++next_to_write) {
            file.Write(sheets[next_to_write].page);
            std::string().swap(sheets[next_to_write].page);
          }
          progress.Show(done - 1, markers[i]);
        });
  }
  int exit_code = kOk;
  for (const Sheet& sheet : sheets) {
    for (const std::string& error : sheet.errors) std::cerr << error << "\n";
    exit_code = std::max(exit_code, sheet.exit_code);
  }
  return exit_code;
}

}  // namespace

int RunReport(const Arguments& args) {
  if (args.positional.empty()) return Usage("report takes one or more marker files");
  const std::string out = args.Option("-o", "");
  if (out.empty()) return Usage("report needs -o FILE.html");
  dorvan_marker::Paper paper = dorvan_marker::Paper::A4;
  if (!dorvan_marker::PaperNamed(args.Option("--paper", "a4"), paper))
    return Usage("unknown paper " + args.Option("--paper", ""));
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);
  const std::vector<std::string>& markers = args.positional;

  int exit_code = kOk;
  try {
    dorvan_marker::OutputFile file(out, kPaths);
    // Nowhere to write: no marker is read.
    if (file.Write(dorvan_marker::HtmlHead(markers.size(), paper))) {
      exit_code = WritePages(file, markers, options, args.Has("--strict"));
      file.Write(dorvan_marker::HtmlTail());
    }
    file.Commit();
  } catch (const dorvan_marker::HostFileError& failure) {
    Complain(failure.what());
    return std::max(exit_code, static_cast<int>(kCannotWrite));
  }
  return exit_code;
}

}  // namespace cli
