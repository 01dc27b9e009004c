// SPDX-License-Identifier: MIT
// The model names of a marker.
#include <new>

#include "dorvan_marker/dorvan_marker.h"
#include "entry/marker_reading.hpp"

namespace dorvan_marker {

StyleListResult ReadStyleList(const std::string& marker_path, std::vector<std::string>& styles,
                              const ImportOptions& options) {
  StyleListResult result;
  try {
    MarkerDocument document(marker_path, nullptr, CodePageOf(options));
    if (!ReadMarker(document)) {
      result.status = StyleListStatus::CannotOpen;
      result.message = "cannot open " + marker_path;
      return result;
    }
    const CSection* models = document.FindSection("VMDL");
    if (models == nullptr || models->empty()) {
      result.status = StyleListStatus::NoStyles;
      result.message = marker_path + (models == nullptr ? " has no \"VMDL\" section" : " has no \"VMDL\" records");
      return result;
    }
    // Names are gathered first so that a failure half-way leaves the caller's list as it was.
    std::vector<std::string> names = styles;
    AppendStyleNames(document, names);
    styles.swap(names);
    result.status = StyleListStatus::Listed;
  } catch (const InvalidArgumentError& error) {
    result.status = StyleListStatus::Malformed;
    result.message = error.what();
  } catch (const std::bad_alloc&) {
    result.status = StyleListStatus::Malformed;
    result.message = marker_path + ": out of memory";  } catch (const std::exception& error) {
    result.status = StyleListStatus::Malformed;
    result.message = marker_path + ": " + error.what();
  }
  return result;
}

}  // namespace dorvan_marker

extern "C" bool GetStyleList(const char* path, std::vector<std::string>* styles) {
  if (path == nullptr || styles == nullptr) return false;
  try {
    return dorvan_marker::ReadStyleList(path, *styles).status == dorvan_marker::StyleListStatus::Listed;
  } catch (...) {
    return false;
  }
}
