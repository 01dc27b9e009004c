// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dorvan_marker/export.h"
#include "dorvan_marker/import.hpp"
#include "dorvan_marker/report.hpp"

namespace dorvan_marker {

// The most markers one plan takes: the search is exact, and its time grows with them.
inline constexpr std::size_t kPlanMostMarkers = 12;
// The most plies of one marker that a plan may ask for.
inline constexpr int kPlanMostPlies = 10000;

// What planning an order needs besides the markers and the order.
struct PlanOptions {
  int max_plies = 100;                // plies of each marker, 1 to kPlanMostPlies
  std::int64_t end_allowance_um = 0;  // fabric lost at the two ends of a ply, micrometres, >= 0
  ImportOptions import;               // code page and loader the markers are read with
};

// How planning ended.
enum class PlanStatus : int {
  Planned = 0,         // the plan is the best there is
  BadOrder = 1,        // the order text is refused: message names its line and why
  MarkerUnread = 2,    // a marker cannot be read (its report says why): nothing is planned
  TooManyMarkers = 3,  // more than kPlanMostMarkers markers, or none
  OrderUnmet = 4,      // even max_plies of every marker cut too few of some sizes: message names them
  BadOptions = 5,      // max_plies or end_allowance_um out of range
  GaveUp = 6,          // the search took more steps than it is allowed; nothing is planned
};

// One marker in the plan.
struct PlannedMarker {
  std::string path;                    // as given
  std::string title;                   // the marker's name
  std::int64_t fabric_per_ply_um = 0;  // used length + end allowance
  int plies = 0;
  std::int64_t FabricUm() const { return fabric_per_ply_um * plies; }
};

// One size that a marker cuts or the order names, in the order the markers list them.
struct PlannedSize {
  std::string size;          // as the host files name it
  std::int64_t ordered = 0;  // 0 when the order does not name it
  std::int64_t cut = 0;      // garments the plan cuts
  std::int64_t Beyond() const { return cut - ordered; }
};

struct OrderPlan {
  PlanStatus status = PlanStatus::BadOrder;
  std::string message;               // why, when not Planned: file, line and reason, like a compiler
  std::vector<MarkerReport> unread;  // MarkerUnread: the report of each marker that cannot be read
  int max_plies = 100;
  std::int64_t end_allowance_um = 0;
  std::vector<PlannedMarker> markers;  // Planned: in the order given
  std::vector<PlannedSize> sizes;      // Planned
  std::int64_t total_fabric_um = 0;    // Planned
  std::uint64_t search_steps = 0;      // nodes the search visited

  std::int64_t GarmentsBeyond() const {
    std::int64_t beyond = 0;
    for (const PlannedSize& size : sizes) beyond += size.Beyond();
    return beyond;
  }
};

// Plans an order: reads each marker as InspectMarkerSheet does (its used length and its
// garments by size) and chooses a whole number of plies of each, at most
// options.max_plies, so that every size gets at least the quantity ordered, with the
// least fabric (plies x (used length + end allowance)); among plans of equal fabric the
// fewest garments beyond the order, then the fewest plies, then the most plies for the
// markers named first. Exact: no plan is better.
//
// order_text is the order file's text: a header row "size,quantity", then one row per
// size (fields may be quoted as in RFC 4180; a UTF-8 byte order mark, blank lines and
// CR LF are taken). order_name names it in messages. A row whose size no marker cuts,
// whose quantity is not a whole number >= 0, or whose size repeats another is refused
// (BadOrder) before anything is planned.
//
// Throws nothing but std::bad_alloc; writes nothing. May be called from several threads
// at once.
DORVAN_MARKER_API OrderPlan PlanOrder(const std::vector<std::string>& marker_paths, const std::string& order_text,
                                      const std::string& order_name, const PlanOptions& options = {});

// The document of `plan --json`: one text shaped as docs/schema/plan-v1.json describes,
// ended by a line feed. code_page as CodePageName gives it. Throws nothing but
// std::bad_alloc.
DORVAN_MARKER_API std::string PlanJson(const OrderPlan& plan, const std::string& code_page);

// The plan as `plan` prints it for a person: a table of the markers (plies, fabric per ply
// and in all, mm), a table of the sizes (ordered, cut, beyond the order) and the total
// fabric in mm, m and yd. Throws nothing but std::bad_alloc.
DORVAN_MARKER_API std::string PlanText(const OrderPlan& plan);

// The plan as `plan --csv` prints it: one RFC 4180 table with CR LF line ends, a row per
// marker, a row per size and the total. Throws nothing but std::bad_alloc.
DORVAN_MARKER_API std::string PlanCsv(const OrderPlan& plan);

}  // namespace dorvan_marker
