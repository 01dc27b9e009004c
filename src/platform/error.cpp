// SPDX-License-Identifier: MIT
#include "dorvan_marker/error.hpp"

#include <utility>

namespace dorvan_marker {

InvalidArgumentError::InvalidArgumentError(std::string detail, ErrorLocation where)
    : detail_(std::move(detail)), where_(std::move(where)) {
  Compose();
}

void InvalidArgumentError::SetFileIfUnknown(const std::string& file) {
  if (!where_.file.empty()) return;
  where_.file = file;
  Compose();
}

void InvalidArgumentError::Compose() {
  std::string text;
  if (!where_.file.empty()) {
    text += where_.file;
    if (where_.line != 0) text += ':' + std::to_string(where_.line);
    text += ": ";
  } else if (where_.line != 0) {
    text += "line " + std::to_string(where_.line) + ": ";
  }
  if (!where_.section.empty()) {
    text += '"' + where_.section + '"';
    if (where_.record >= 0) text += " record " + std::to_string(where_.record + 1);
    text += ": ";
  }
  text += detail_;
  message_ = std::move(text);
}

}  // namespace dorvan_marker
