// SPDX-License-Identifier: MIT
#include "models/opened_model.hpp"

#include "models/model_file_path.hpp"

namespace dorvan_marker {

OpenedModel::OpenedModel(VariantLoad& loader, const MarkerDocument& document, std::string_view base_name)
    : loader_(nullptr), path_(&PathOf(document, base_name)) {
  if (!*path_) return;
  loader_ = &loader;
  opened_ = loader.Open((*path_)->c_str());
}

const std::optional<std::string>& OpenedModel::PathOf(const MarkerDocument& document, std::string_view base_name) {
  auto found = document.ModelFilePaths.find(base_name);
  if (found == document.ModelFilePaths.end()) {
    found = document.ModelFilePaths
                .emplace(base_name, MakeModelFilePath(document.Path(), base_name, document.Codes(),
                                                      FileNameRules::Native(), document.Paths()))
                .first;
  }
  return found->second;
}

bool OpenedModel::GetSizes(CStringArray& sizes) const {
  return loader_ != nullptr && loader_->GetSizesFromMDL(nullptr, sizes);
}

bool OpenedModel::GetPieceName(const char* vgfn, int piece, std::string& name) const {
  return loader_ != nullptr && loader_->GetPieceNameFromMDL(vgfn, piece, name);
}

bool OpenedModel::GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor,
                                   double* y_factor) const {
  return loader_ != nullptr && loader_->GetRotationScale(vgfn, piece, rotation, x_factor, y_factor);
}

bool OpenedModel::GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                                   double* y_factor) const {
  return loader_ != nullptr && loader_->GetRotationScale(vgfn, iart, rotation, x_factor, y_factor);
}

}  // namespace dorvan_marker
