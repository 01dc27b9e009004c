// SPDX-License-Identifier: MIT
// The C face: the library for hosts of any compiler, and for any language that calls C.
#include <cstring>
#include <vector>

#include "c_api/c_call.hpp"
#include "dorvan_marker/dorvan_marker_c.h"
#include "dorvan_marker/json.hpp"
#include "dorvan_marker/report.hpp"

namespace dorvan_marker {
namespace {

void Clear(std::size_t* size) {
  if (size != nullptr) *size = 0;
}

int ResultOf(StyleListStatus status) {
  switch (status) {
    case StyleListStatus::Listed: return DORVAN_MARKER_OK;
    case StyleListStatus::NoStyles: return DORVAN_MARKER_NO_MODELS;
    case StyleListStatus::CannotOpen: return DORVAN_MARKER_CANNOT_OPEN;
    case StyleListStatus::Malformed: break;
  }
  return DORVAN_MARKER_MALFORMED;
}

int ResultOf(ReportStatus status) {
  switch (status) {
    case ReportStatus::Read: return DORVAN_MARKER_OK;
    case ReportStatus::CannotOpen: return DORVAN_MARKER_CANNOT_OPEN;
    case ReportStatus::NoModels: return DORVAN_MARKER_NO_MODELS;
    case ReportStatus::LoaderUnusable: return DORVAN_MARKER_LOADER_UNUSABLE;
    case ReportStatus::Malformed: break;
  }
  return DORVAN_MARKER_MALFORMED;
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
      return call.Fail(static_cast<int>(result.status), result.message);
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
