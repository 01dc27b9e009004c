// SPDX-License-Identifier: MIT
// dorvan-marker report: one printable HTML page per marker, for the cutting table.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "batch.hpp"
#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/report.hpp"
#include "exit_codes.hpp"
#include "html_report.hpp"
#include "report_exit.hpp"
#include "report_text.hpp"
#include "staged_file.hpp"
#include "workers.hpp"

namespace cli {
namespace {

bool PaperOf(const std::string& name, Paper& paper) {
  if (name == "a4" || name == "A4") {
    paper = Paper::kA4;
  } else if (name == "letter") {
    paper = Paper::kLetter;
  } else {
    return false;
  }
  return true;
}

// One marker's part of the run.
struct Sheet {
  std::string page;   // its HTML, until written
  bool done = false;  // the page is made
  int exit_code = kOk;
  std::vector<std::string> errors;  // why it cannot be read, for stderr
};

}  // namespace

int RunReport(const Arguments& args) {
  if (args.positional.empty()) return Usage("report takes one or more marker files");
  const std::string out = args.Option("-o", "");
  if (out.empty()) return Usage("report needs -o FILE.html");
  Paper paper = Paper::kA4;
  if (!PaperOf(args.Option("--paper", "a4"), paper)) return Usage("unknown paper " + args.Option("--paper", ""));
  dorvan_marker::ImportOptions options;
  std::string why;
  if (!OptionsOf(args, options, why)) return Usage(why);
  const std::vector<std::string>& markers = args.positional;

  // Pages are made side by side and written in the markers' order as soon as each one's
  // predecessors are, so that a season of markers is never held in memory at once.
  StagedFile file(out);
  if (!file.Write(ReportHead(markers.size(), paper))) {  // nowhere to write: no marker is read
    Complain(file.Commit());
    return kCannotWrite;
  }
  std::vector<Sheet> sheets(markers.size());
  std::size_t next_to_write = 0;
  {
    Progress progress(markers.size());
    RunOnWorkers(
        markers.size(), MachineCores(),
        [&](std::size_t i) {
          const dorvan_marker::MarkerSheet report = dorvan_marker::InspectMarkerSheet(markers[i], options);
          Sheet& sheet = sheets[i];
          sheet.exit_code = ReportExit(report, args.Has("--strict"));
          if (report.status != dorvan_marker::ReportStatus::Read) {
            for (const dorvan_marker::Diagnostic& d : report.diagnostics) sheet.errors.push_back(DiagnosticLine(d));
          }
          sheet.page = MarkerPage(report);
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
  file.Write(ReportTail());
  if (const std::string failure = file.Commit(); !failure.empty()) {
    Complain(failure);
    return std::max(exit_code, static_cast<int>(kCannotWrite));
  }
  return exit_code;
}

}  // namespace cli
