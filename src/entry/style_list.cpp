// SPDX-License-Identifier: MIT
// The model names of a marker.
#include "dorvan_marker/dorvan_marker.h"
#include "entry/failure.hpp"
#include "entry/marker_reading.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {

StyleListResult ReadStyleList(const std::string& marker_path, std::vector<std::string>& styles,
                              const ImportOptions& options) {
  StyleListResult result;
  const std::optional<Failure> failure = Guarded(marker_path, [&] {
    // The style list never asks a model file: its document has no loader.
    MarkerDocument document(marker_path, nullptr, CodePageOf(options), PathsOf(options));
    std::string unreadable;
    if (!ReadMarker(document, unreadable)) {
      result.status = StyleListStatus::CannotOpen;
      result.message = CannotOpenMessage(marker_path, unreadable);
      return;
    }
    const CSection* models = document.FindSection("VMDL");
    if (models == nullptr || models->empty()) {
      result.status = StyleListStatus::NoStyles;
      result.message = marker_path + " has no " + Quoted("VMDL") + (models == nullptr ? " section" : " records");
      return;
    }
    // Names are gathered first so that a failure half-way leaves the caller's list as it was.
    std::vector<std::string> names = styles;
    AppendStyleNames(document, names);
    styles.swap(names);
    result.status = StyleListStatus::Listed;
  });
  if (failure) {
    result.status =
        failure->kind == Failure::Kind::OutOfMemory ? StyleListStatus::OutOfMemory : StyleListStatus::Malformed;
    result.message = failure->message;
  }
  return result;
}

}  // namespace dorvan_marker

extern "C" bool GetStyleList(const char* path, std::vector<std::string>* styles) {
  if (path == nullptr || styles == nullptr) return false;
  try {
    return dorvan_marker::ReadStyleList(path, *styles).status == dorvan_marker::StyleListStatus::Listed;
  } catch (...) {
    return false;  // only the copying of the path can raise (out of memory)
  }
}
