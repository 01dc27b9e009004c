// SPDX-License-Identifier: MIT
#include "report/recording_loader.hpp"

namespace dorvan_marker {

bool RecordingLoader::Open(const char* path) {
  const bool opened = inner_->Open(path);
  open_ = opened && path != nullptr ? path : "";
  if (!opened && path != nullptr) failed_.insert(path);
  return opened;
}

bool RecordingLoader::GetSizesFromMDL(const char* name, CStringArray& sizes) {
  const std::size_t before = sizes.size();
  const bool answered = inner_->GetSizesFromMDL(name, sizes);
  if (answered && !open_.empty()) size_counts_[open_] = static_cast<long>(sizes.size() - before);
  return answered;
}

bool RecordingLoader::GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) {
  return inner_->GetPieceNameFromMDL(vgfn, piece, name);
}

bool RecordingLoader::GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor,
                                       double* y_factor) {
  return inner_->GetRotationScale(vgfn, piece, rotation, x_factor, y_factor);
}

bool RecordingLoader::GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                                       double* y_factor) {
  return inner_->GetRotationScale(vgfn, iart, rotation, x_factor, y_factor);
}

long RecordingLoader::SizeCount(const std::string& path) const {
  const auto found = size_counts_.find(path);
  return found == size_counts_.end() ? -1 : found->second;
}

}  // namespace dorvan_marker
