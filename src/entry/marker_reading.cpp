// SPDX-License-Identifier: MIT
#include "entry/marker_reading.hpp"

#include <unordered_set>

#include "platform/text_file.hpp"

namespace dorvan_marker {

CodePage CodePageOf(const ImportOptions& options) {
  if (options.code_page.empty()) return CodePage::System();
  CodePage code_page;
  if (CodePage::Offered(options.code_page, code_page).empty()) {
    throw InvalidArgumentError(UnknownCodePage(options.code_page));
  }
  return code_page;
}

std::string OfferedCodePage(const std::string& requested) {
  CodePage ignored;
  return std::string(CodePage::Offered(requested, ignored));
}

std::string UnknownCodePage(const std::string& requested) {
  return "unknown code page \"" + requested + "\" (" + CodePage::OfferedNames() + ")";
}

PathEncoding PathsOf([[maybe_unused]] const ImportOptions& options) {
#if defined(_WIN32)
  return options.paths;
#else
  return PathEncoding::System;
#endif
}

bool ReadMarker(MarkerDocument& document, std::string& why) {
  TextFile file;
  // A marker that another program still has open may be half written: it is read only
  // when no other handle to it exists, and none can change it while it is read. The host
  // tells the user, who tries again, so a refused open is not waited out.
  if (!file.Open(document.Path(), FileSharing::kNone, document.Paths())) {
    why = file.Why();
    return false;
  }
  document.Parse(file);
  return true;
}

void AppendStyleNames(const MarkerDocument& document, std::vector<std::string>& names) {
  const CSection* models = document.FindSection("VMDL");
  if (models == nullptr) return;
  std::unordered_set<std::string> known(names.begin(), names.end());
  const FieldColumn model_name = document.Column(*models, "VNMD");
  for (const CElementsArray& record : *models) {
    std::string name(model_name.Of(record));
    if (known.insert(name).second) names.push_back(std::move(name));
  }
}

std::string CannotOpenMessage(const std::string& path, const std::string& why) {
  return "cannot open " + path + ": " + why;
}

std::string NoModelsMessage(const std::string& text) {
  return text + " is an invalid Dorvan marker file.  No models were found.";
}

}  // namespace dorvan_marker
