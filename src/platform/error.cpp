// SPDX-License-Identifier: MIT
#include "dorvan_marker/error.hpp"

#include <utility>

#include "platform/position_text.hpp"

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
    AppendFileAndLine(text, where_);
    text += ": ";
  } else if (where_.line != 0) {
    text += LineWords(where_) + ": ";
  }
  if (!where_.section.empty()) {
    AppendSectionAndRecord(text, where_);
    text += ": ";
  }
  text += detail_;
  message_ = std::move(text);
}

}  // namespace dorvan_marker
