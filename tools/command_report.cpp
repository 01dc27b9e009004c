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
               const dorvan_marker::ImportOptions& options, const dorvan_marker::PageOptions& first, bool strict) {
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
          dorvan_marker::PageOptions page = first;
          page.page += i;
          sheet.page = dorvan_marker::HtmlPage(report, page);
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

// Each marker's row of the summary page, read on the machine's cores; only the rows are kept.
std::vector<dorvan_marker::SeasonRow> SeasonRows(const std::vector<std::string>& markers,
                                                 const dorvan_marker::ImportOptions& options,
                                                 const dorvan_marker::Cutting& cutting) {
  std::vector<dorvan_marker::SeasonRow> rows(markers.size());
  RunOnWorkers(
      markers.size(), MachineCores(),
      [&](std::size_t i) {
        rows[i] = dorvan_marker::SeasonRowOf(dorvan_marker::InspectMarkerSheet(markers[i], options), cutting);
      },
      [](std::size_t, std::size_t) {});
  return rows;
}

// The plan of --order for the summary page. False, with why set, when the order or the
// options are refused as `plan` refuses them: then nothing is written.
bool PlanOfOrder(const Arguments& args, const dorvan_marker::ImportOptions& import,
                 const dorvan_marker::Cutting& cutting, dorvan_marker::OrderPlan& plan, std::string& why) {
  const std::string order_path = args.Option("--order", "");
  dorvan_marker::PlanOptions options;
  options.import = import;
  options.end_allowance_um = cutting.end_allowance_um;
  if (!ReadPlies(args.Option("--max-plies", "100"), options.max_plies)) {
    why = "--max-plies needs a whole number from 1 to " + std::to_string(dorvan_marker::kPlanMostPlies);
    return false;
  }
  std::string order;
  if (!ReadWholeFile(order_path, order)) {
    why = "cannot read the order " + order_path;
    return false;
  }
  plan = dorvan_marker::PlanOrder(args.positional, order, order_path, options);
  switch (plan.status) {
    case dorvan_marker::PlanStatus::BadOrder:
    case dorvan_marker::PlanStatus::BadOptions:
    case dorvan_marker::PlanStatus::TooManyMarkers: why = plan.message; return false;
    default: return true;
  }
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
  dorvan_marker::PageOptions page;
  if (!CuttingOf(args, page.cutting, why)) return Usage(why);
  const bool planned = !args.Option("--order", "").empty();
  if (!planned && !args.Option("--max-plies", "").empty()) return Usage("report takes --max-plies with --order only");
  page.title = dorvan_marker::ReportTitle(args.Option("--title", ""), markers);
  page.code_page_given = args.Option("--codepage", "");
  page.page = 1;
  page.pages = dorvan_marker::ReportPages(markers.size(), planned);
  dorvan_marker::OrderPlan plan;
  if (planned && !PlanOfOrder(args, options, page.cutting, plan, why)) return Usage(why);

  int exit_code = kOk;
  if (planned && plan.status != dorvan_marker::PlanStatus::Planned &&
      plan.status != dorvan_marker::PlanStatus::MarkerUnread) {
    Complain(plan.message);  // the summary page says it too
    exit_code = kNoPlan;
  }
  try {
    dorvan_marker::OutputFile file(out, kPaths);
    // Nowhere to write: no marker is read.
    if (file.Write(dorvan_marker::HtmlHead(markers.size(), paper, page.title))) {
      if (page.pages > markers.size()) {
        file.Write(dorvan_marker::HtmlSummaryPage(SeasonRows(markers, options, page.cutting), planned ? &plan : nullptr,
                                                  page));
        ++page.page;
      }
      exit_code = std::max(exit_code, WritePages(file, markers, options, page, args.Has("--strict")));
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
