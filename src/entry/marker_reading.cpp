// SPDX-License-Identifier: MIT
#include "entry/marker_reading.hpp"

#include "platform/text_file.hpp"

namespace dorvan_marker {

CodePage CodePageOf(const ImportOptions& options) {
  if (options.code_page.empty()) return CodePage::System();
  CodePage code_page;
  if (!CodePage::FromName(options.code_page, code_page)) {
    throw InvalidArgumentError("unknown code page \"" + options.code_page + "\"");
  }
  return code_page;
}

bool ReadMarker(MarkerDocument& document) {
  TextFile file;
  if (!file.Open(document.Path())) return false;
  document.Parse(file);
  return true;
}

std::string NoModelsMessage(const std::string& text) {
  return text + " is an invalid Dorvan marker file.  No models were found.";
}

}  // namespace dorvan_marker
