// SPDX-License-Identifier: MIT
#include "models/model_file_path.hpp"

#include "platform/native_path.hpp"

namespace dorvan_marker {

std::optional<std::string> MakeModelFilePath(std::string_view marker_path, std::string_view base_name,
                                             CodePage code_page, FileNameRules rules, PathEncoding paths) {
  if (!IsPlainFileName(base_name, code_page, rules)) return std::nullopt;
  std::string path(marker_path.substr(0, FileNameStart(marker_path, PathCodePage(paths, code_page), rules)));
  path += NameInPath(base_name, code_page, paths);
  path += ".mdl";
  return path;
}

}  // namespace dorvan_marker
