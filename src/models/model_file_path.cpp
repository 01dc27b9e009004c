// SPDX-License-Identifier: MIT
#include "models/model_file_path.hpp"

#include "marker/marker_document.hpp"

namespace dorvan_marker {
namespace {

bool IsSeparator(char c) {
#if defined(_WIN32)
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

}  // namespace

std::size_t FileNameStart(std::string_view path, CodePage code_page) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (code_page.IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (IsSeparator(path[i])) {
      start = i + 1;
    }
#if defined(_WIN32)
    else if (i == 1 && path[i] == ':') {
      start = 2;  // "c:name.txt": the drive is no part of the name
    }
#endif
  }
  return start;
}

std::string MakeModelFilePath(std::string_view marker_path, std::string_view base_name, CodePage code_page) {
  std::string path(marker_path.substr(0, FileNameStart(marker_path, code_page)));
  path += base_name;
  path += ".mdl";
  return path;
}

const std::string& MarkerDocument::ModelFilePath(const char* marker_path, std::string_view base_name) const {
  if (marker_path == nullptr) marker_path = "";
  if (model_folder_of_ != marker_path) {
    model_folder_of_ = marker_path;
    model_folder_size_ = FileNameStart(model_folder_of_, code_page_);
  }
  model_file_path_.assign(model_folder_of_, 0, model_folder_size_);
  model_file_path_ += base_name;
  model_file_path_ += ".mdl";
  return model_file_path_;
}

}  // namespace dorvan_marker
