// SPDX-License-Identifier: MIT
// The C face: the library for hosts of any compiler, and for any language that calls C.
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "c_api/c_call.hpp"
#include "dorvan_marker/dorvan_marker_c.h"
#include "dorvan_marker/json.hpp"
#include "dorvan_marker/plan.hpp"
#include "dorvan_marker/render.hpp"
#include "dorvan_marker/report.hpp"

namespace dorvan_marker {
namespace {

void Clear(std::size_t* size) {
  if (size != nullptr) *size = 0;
}

// The C face's result for a status of the C++ API: its outcome's number.
template <typename Status>
int ResultOf(Status status) {
  return static_cast<int>(OutcomeOf(status));
}

int ResultOf(const OrderPlan& plan) {
  switch (plan.status) {
    case PlanStatus::Planned: return DORVAN_MARKER_OK;
    case PlanStatus::BadOrder: return DORVAN_MARKER_BAD_ORDER;
    case PlanStatus::MarkerUnread:
      // A marker read whole is unread only for a used length beyond any fabric: its figures are broken.
      return plan.unread.front().status == ReportStatus::Read ? DORVAN_MARKER_MALFORMED
                                                              : ResultOf(plan.unread.front().status);
    case PlanStatus::OrderUnmet: return DORVAN_MARKER_ORDER_UNMET;
    case PlanStatus::GaveUp: return DORVAN_MARKER_PLAN_GAVE_UP;
    case PlanStatus::TooManyMarkers:
    case PlanStatus::BadOptions: break;
  }
  return DORVAN_MARKER_BAD_CALL;
}

// The plan's options from the caller's, as far as the caller's size reaches; false, with
// why, when they cannot be read.
bool ReadPlanOptions(const dorvan_marker_plan_options* given, PlanOptions& chosen, std::string& why) {
  if (given == nullptr) return true;
  constexpr std::size_t kFirstSize =
      offsetof(dorvan_marker_plan_options, end_allowance_mm) + sizeof(dorvan_marker_plan_options::end_allowance_mm);
  if (given->size < kFirstSize) {
    why = "plan_options->size is " + std::to_string(given->size) + ": the options take at least " +
          std::to_string(kFirstSize) + " bytes";
    return false;
  }
  if (given->max_plies != 0) chosen.max_plies = given->max_plies;
  const double mm = given->end_allowance_mm;
  if (!(mm >= 0.0 && mm <= 1e9)) {  // NaN too
    why = "plan_options->end_allowance_mm must be from 0 to 1e9";
    return false;
  }
  chosen.end_allowance_um = std::llround(mm * 1000.0);
  return true;
}

// A null buffer is a question about the size only when it claims no bytes.
bool Unusable(const char* buffer, std::size_t size) { return buffer == nullptr && size != 0; }

}  // namespace
}  // namespace dorvan_marker

using dorvan_marker::CCall;

extern "C" int dorvan_marker_version(char* text, size_t size, size_t* needed) {
  dorvan_marker::Clear(needed);
  CCall call("dorvan_marker_version", nullptr, 0);
  return call.Run(nullptr, [&](const dorvan_marker::ImportOptions&) {
    if (dorvan_marker::Unusable(text, size)) return call.Refuse("text is null, yet its size is not 0");
    return call.HandOut(std::string(dorvan_marker::Version()) + '\0', text, size, needed, "the version takes");
  });
}

extern "C" int dorvan_marker_style_names(const char* marker_path, const dorvan_marker_options* options, char* names,
                                         size_t size, size_t* needed, size_t* count, char* message,
                                         size_t message_size) {
  dorvan_marker::Clear(needed);
  dorvan_marker::Clear(count);
  CCall call("dorvan_marker_style_names", message, message_size);
  return call.Run(options, [&](const dorvan_marker::ImportOptions& chosen) {
    if (marker_path == nullptr) return call.Refuse("marker_path is null");
    if (dorvan_marker::Unusable(names, size)) return call.Refuse("names is null, yet its size is not 0");
    std::vector<std::string> styles;
    const dorvan_marker::StyleListResult listed = dorvan_marker::ReadStyleList(marker_path, styles, chosen);
    if (listed.status != dorvan_marker::StyleListStatus::Listed) {
      return call.Fail(dorvan_marker::ResultOf(listed.status), listed.message);
    }
    std::string list;
    for (const std::string& style : styles) list.append(style).push_back('\0');
    if (count != nullptr) *count = styles.size();
    return call.HandOut(list, names, size, needed, "the names and their NULs take");
  });
}

extern "C" int dorvan_marker_import(const char* marker_path, const char* out_dir, const dorvan_marker_options* options,
                                    char* name, size_t name_size, char* message, size_t message_size) {
  CCall call("dorvan_marker_import", message, message_size);
  return call.Run(options, [&](const dorvan_marker::ImportOptions& chosen) {
    if (marker_path == nullptr) return call.Refuse("marker_path is null");
    if (out_dir == nullptr) return call.Refuse("out_dir is null");
    if (name != nullptr && name_size < DORVAN_MARKER_NAME_SIZE) {
      return call.Refuse("name holds " + std::to_string(name_size) + " bytes, a name takes up to " +
                         std::to_string(DORVAN_MARKER_NAME_SIZE));
    }
    const dorvan_marker::ImportResult result =
        dorvan_marker::ImportMarker(marker_path, dorvan_marker::HostFilePathsIn(out_dir, call.Paths()), chosen);
    if (result.status != dorvan_marker::ImportStatus::Imported) {
      return call.Fail(dorvan_marker::ResultOf(result.status), result.message);
    }
    if (name != nullptr) {
      const std::string title = dorvan_marker::CutToCharacters(result.title, DORVAN_MARKER_NAME_SIZE - 1, call.Names());
      std::memcpy(name, title.c_str(), title.size() + 1);
    }
    return DORVAN_MARKER_OK;
  });
}

extern "C" int dorvan_marker_inspect_json(const char* marker_path, const dorvan_marker_options* options, char* json,
                                          size_t size, size_t* needed, char* message, size_t message_size) {
  dorvan_marker::Clear(needed);
  CCall call("dorvan_marker_inspect_json", message, message_size);
  return call.Run(options, [&](const dorvan_marker::ImportOptions& chosen) {
    if (marker_path == nullptr) return call.Refuse("marker_path is null");
    if (dorvan_marker::Unusable(json, size)) return call.Refuse("json is null, yet its size is not 0");
    std::vector<dorvan_marker::MarkerSheet> reports;  // one, moved in: a report may be large
    reports.push_back(dorvan_marker::InspectMarkerSheet(marker_path, chosen));
    const std::string document =
        dorvan_marker::InspectJson(reports, dorvan_marker::CodePageName(chosen)) + std::string(1, '\0');
    const int handed = call.HandOut(document, json, size, needed, "the report and its NUL take");
    return handed == DORVAN_MARKER_OK ? dorvan_marker::ResultOf(reports.front().status) : handed;
  });
}

namespace dorvan_marker {
namespace {

// The markers of a render call, each checked; false, with why set, when one is null.
bool PathsOf(const char* const* given, std::size_t count, std::vector<std::string>& paths, std::string& why) {
  if (given == nullptr) {
    why = "marker_paths is null";
  } else if (count == 0) {
    why = "path_count is 0";
  }
  for (std::size_t i = 0; why.empty() && i < count; ++i) {
    if (given[i] == nullptr) why = "marker_paths[" + std::to_string(i) + "] is null";
    if (why.empty()) paths.emplace_back(given[i]);
  }
  return why.empty();
}

// The kind and paper of a render call; false, with why set, when either is unknown or a
// paper is given for what is not printed.
bool RenderChoices(const char* kind_name, const char* paper_name, RenderKind& kind, Paper& paper, std::string& why) {
  if (kind_name == nullptr || !RenderKindNamed(kind_name, kind)) {
    why = std::string("kind is ") + (kind_name == nullptr ? "null" : '"' + std::string(kind_name) + '"') +
          ": \"text\", \"json\", \"csv\", \"svg\" or \"html\"";
  } else if (paper_name != nullptr && kind != RenderKind::Html) {
    why = "only \"html\" takes a paper";
  } else if (paper_name != nullptr && !PaperNamed(paper_name, paper)) {
    why = "paper is \"" + std::string(paper_name) + "\": \"a4\" or \"letter\"";
  }
  return why.empty();
}

}  // namespace
}  // namespace dorvan_marker

extern "C" int dorvan_marker_render(const char* const* marker_paths, size_t path_count, const char* kind,
                                    const char* paper, const dorvan_marker_options* options, char* text, size_t size,
                                    size_t* needed, char* message, size_t message_size) {
  dorvan_marker::Clear(needed);
  CCall call("dorvan_marker_render", message, message_size);
  return call.Run(options, [&](const dorvan_marker::ImportOptions& chosen) {
    std::vector<std::string> paths;
    dorvan_marker::RenderKind rendered = dorvan_marker::RenderKind::Text;
    dorvan_marker::Paper sheet = dorvan_marker::Paper::A4;
    std::string why;
    if (!dorvan_marker::PathsOf(marker_paths, path_count, paths, why) ||
        !dorvan_marker::RenderChoices(kind, paper, rendered, sheet, why)) {
      return call.Refuse(why);
    }
    if (rendered == dorvan_marker::RenderKind::Svg && paths.size() != 1) {
      return call.Refuse("a picture is of one marker, not " + std::to_string(paths.size()));
    }
    if (dorvan_marker::Unusable(text, size)) return call.Refuse("text is null, yet its size is not 0");
    const dorvan_marker::Rendering rendering = dorvan_marker::Render(paths, rendered, chosen, sheet);
    const int result = dorvan_marker::ResultOf(rendering.status);
    if (rendered == dorvan_marker::RenderKind::Svg && result != DORVAN_MARKER_OK)
      return call.Fail(result, rendering.why);
    const int handed = call.HandOut(rendering.text + '\0', text, size, needed, "the text and its NUL take");
    return handed == DORVAN_MARKER_OK ? call.Fail(result, rendering.why) : handed;
  });
}

extern "C" int dorvan_marker_plan(const char* const* marker_paths, size_t marker_count, const char* order,
                                  const dorvan_marker_options* options, const dorvan_marker_plan_options* plan_options,
                                  char* json, size_t size, size_t* needed, char* message, size_t message_size) {
  dorvan_marker::Clear(needed);
  CCall call("dorvan_marker_plan", message, message_size);
  return call.Run(options, [&](const dorvan_marker::ImportOptions& chosen) {
    if (marker_paths == nullptr && marker_count != 0) return call.Refuse("marker_paths is null");
    if (order == nullptr) return call.Refuse("order is null");
    if (dorvan_marker::Unusable(json, size)) return call.Refuse("json is null, yet its size is not 0");
    dorvan_marker::PlanOptions planning;
    planning.import = chosen;
    std::string why;
    if (!dorvan_marker::ReadPlanOptions(plan_options, planning, why)) return call.Refuse(why);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < marker_count && i <= dorvan_marker::kPlanMostMarkers; ++i) {
      if (marker_paths[i] == nullptr) return call.Refuse("marker_paths[" + std::to_string(i) + "] is null");
      paths.emplace_back(marker_paths[i]);
    }
    if (marker_count > paths.size()) paths.resize(marker_count);  // refused by the count, unread
    const dorvan_marker::OrderPlan plan = dorvan_marker::PlanOrder(paths, order, "order", planning);
    const int result = dorvan_marker::ResultOf(plan);
    if (result == DORVAN_MARKER_BAD_CALL) return call.Refuse(plan.message);
    if (result != DORVAN_MARKER_OK) return call.Fail(result, plan.message);
    const std::string document =
        dorvan_marker::PlanJson(plan, dorvan_marker::CodePageName(chosen)) + std::string(1, '\0');
    return call.HandOut(document, json, size, needed, "the plan and its NUL take");
  });
}
