// SPDX-License-Identifier: MIT
#include "models/model_file_path.hpp"

namespace dorvan_marker {

std::optional<std::string> MakeModelFilePath(std::string_view marker_path, std::string_view base_name,
                                             CodePage code_page, FileNameRules rules) {
  if (!IsPlainFileName(base_name, code_page, rules)) return std::nullopt;
  std::string path(marker_path.substr(0, FileNameStart(marker_path, code_page, rules)));
  path += base_name;
  path += ".mdl";
  return path;
}

}  // namespace dorvan_marker
