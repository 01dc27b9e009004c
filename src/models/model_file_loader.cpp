// SPDX-License-Identifier: MIT
#include "models/model_file_loader.hpp"

#include <cstring>

#include "marker/record_file.hpp"
#include "models/model_file_path.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {
namespace {

void ReadSizes(const RecordFile& records, ModelFile& model) {
  const CSection* sizes = records.FindSection("MSIZ");
  if (sizes == nullptr) return;
  for (const CElementsArray& record : *sizes) {
    model.sizes.emplace_back(records.GetFieldValue(*sizes, record, "SNAM"));
  }
}

void ReadPieces(const RecordFile& records, ModelFile& model) {
  const CSection* pieces = records.FindSection("MPCE");
  if (pieces == nullptr) return;
  for (const CElementsArray& record : *pieces) {
    auto field = [&](const char* tag) { return std::string(records.GetFieldValue(*pieces, record, tag)); };
    const std::size_t index = model.pieces.size();
    model.pieces.push_back({field("PNAM"), field("PROT"), field("PXSC"), field("PYSC")});
    const std::string vgfn = field("VGFN");
    model.by_number.try_emplace({vgfn, Atoi(records.GetFieldValue(*pieces, record, "PNUM"))}, index);
    model.by_key.try_emplace({vgfn, field("IART")}, index);
  }
}

}  // namespace

std::unique_ptr<ModelFile> LoadModelFile(const std::string& path) {
  TextFile file;
  if (!file.Open(path)) return nullptr;
  try {
    RecordFile records(path);
    records.Parse(file);
    auto model = std::make_unique<ModelFile>();
    ReadSizes(records, *model);
    ReadPieces(records, *model);
    return model;
  } catch (const InvalidArgumentError&) {
    return nullptr;  // a model file the reader rejects is as good as missing
  }
}

ModelFileLoader::ModelFileLoader(const char* /*path*/) {}

bool ModelFileLoader::Open(const char* path) {
  current_ = nullptr;
  if (path == nullptr || std::strlen(path) > kMaxModelPathLength) return false;
  auto found = cache_.find(path);
  if (found == cache_.end()) {
    std::shared_ptr<const ModelFile> model = LoadModelFile(path);
    if (!model) failed_paths_.emplace_back(path);
    found = cache_.emplace(path, std::move(model)).first;
  }
  current_ = found->second.get();
  return current_ != nullptr;
}

bool ModelFileLoader::GetSizesFromMDL(const char* /*name*/, CStringArray& sizes) {
  if (current_ == nullptr) return false;
  for (const std::string& size : current_->sizes) sizes.push_back(size);
  return true;
}

bool ModelFileLoader::GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) {
  if (current_ == nullptr || vgfn == nullptr) return false;
  const auto found = current_->by_number.find({vgfn, piece});
  if (found == current_->by_number.end()) return false;
  name = current_->pieces[found->second].name;
  return true;
}

bool ModelFileLoader::Answer(const ModelFile::Piece& piece, double* rotation, double* x_factor, double* y_factor) {
  *rotation = piece.rotation.empty() ? 0.0 : Atof(piece.rotation);
  if (!piece.x_factor.empty()) *x_factor = Atof(piece.x_factor);
  if (!piece.y_factor.empty()) *y_factor = Atof(piece.y_factor);
  return true;
}

bool ModelFileLoader::GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor,
                                       double* y_factor) {
  if (current_ == nullptr || vgfn == nullptr) return false;
  const auto found = current_->by_number.find({vgfn, piece});
  if (found == current_->by_number.end()) return false;
  return Answer(current_->pieces[found->second], rotation, x_factor, y_factor);
}

bool ModelFileLoader::GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                                       double* y_factor) {
  if (current_ == nullptr || vgfn == nullptr || iart == nullptr) return false;
  const auto found = current_->by_key.find({vgfn, iart});
  if (found == current_->by_key.end()) return false;
  return Answer(current_->pieces[found->second], rotation, x_factor, y_factor);
}

}  // namespace dorvan_marker
