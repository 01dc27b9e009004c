// SPDX-License-Identifier: MIT
#include "report_exit.hpp"

#include "exit_codes.hpp"

namespace cli {

int StatusExit(dorvan_marker::ReportStatus status) {
  return ExitOf(dorvan_marker::OutcomeOf(status), dorvan_marker::Task::Inspect);
}

int ReportExit(const dorvan_marker::MarkerReport& report, bool strict) {
  if (report.status != dorvan_marker::ReportStatus::Read) return StatusExit(report.status);
  if (report.Count(dorvan_marker::Severity::Error) != 0) return kLostPlacements;
  if (strict && report.Count(dorvan_marker::Severity::Warning) != 0) return kWarnings;
  return kOk;
}

}  // namespace cli
