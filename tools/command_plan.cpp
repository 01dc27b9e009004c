// SPDX-License-Identifier: MIT
// dorvan-marker plan: the plies of each marker that cut an order with the least fabric.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli_common.hpp"
#include "commands.hpp"
#include "dorvan_marker/json.hpp"
#include "dorvan_marker/plan.hpp"
#include "dorvan_marker/render.hpp"
#include "exit_codes.hpp"
#include "report_exit.hpp"

namespace cli {
namespace {

int Refusal(const dorvan_marker::OrderPlan& plan) {
  switch (plan.status) {
    case dorvan_marker::PlanStatus::MarkerUnread: {
      int exit_code = kOk;
      for (const dorvan_marker::MarkerReport& report : plan.unread) {
        for (const dorvan_marker::Diagnostic& diagnostic : report.diagnostics) {
          if (diagnostic.severity == dorvan_marker::Severity::Error) std::cerr << DiagnosticLine(diagnostic) << "\n";
        }
        exit_code = std::max(exit_code, StatusExit(report.status));
      }
      if (exit_code != kOk) return exit_code;
      Complain(plan.message);  // read whole, yet of a used length beyond any fabric
      return kMalformed;
    }
    case dorvan_marker::PlanStatus::OrderUnmet:
    case dorvan_marker::PlanStatus::GaveUp: Complain(plan.message); return kNoPlan;
    default: Complain(plan.message); return kUsage;
  }
}

}  // namespace

int RunPlan(const Arguments& args) {
  if (args.positional.empty()) return Usage("plan takes one or more marker files");
  const std::string order_path = args.Option("--order", "");
  if (order_path.empty()) return Usage("plan needs --order ORDER.csv");
  dorvan_marker::PlanOptions options;
  std::string why;
  if (!OptionsOf(args, options.import, why)) return Usage(why);
  const bool json = args.Has("--json");
  if (json && args.Has("--csv")) return Usage("plan takes --json or --csv, not both");
  if (!ReadPlies(args.Option("--max-plies", "100"), options.max_plies)) {
    return Usage("--max-plies needs a whole number from 1 to " + std::to_string(dorvan_marker::kPlanMostPlies));
  }
  if (!EndAllowanceOf(args, options.end_allowance_um, why)) return Usage(why);
  std::string order;
  if (!ReadWholeFile(order_path, order)) return Usage("cannot read the order " + order_path);
  const dorvan_marker::OrderPlan plan = dorvan_marker::PlanOrder(args.positional, order, order_path, options);
  if (plan.status != dorvan_marker::PlanStatus::Planned) return Refusal(plan);
  if (json) {
    std::cout << dorvan_marker::PlanJson(plan, dorvan_marker::CodePageName(options.import));
  } else {
    std::cout << (args.Has("--csv") ? dorvan_marker::PlanCsv(plan) : dorvan_marker::PlanText(plan));
  }
  return kOk;
}

}  // namespace cli
