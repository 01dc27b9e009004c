// SPDX-License-Identifier: MIT
#include "models/model_file_loader.hpp"

#include <algorithm>
#include <cstring>

#include "marker/record_file.hpp"
#include "models/model_file_path.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {
namespace {

// By "VGFN" and key, and among equal ones in file order, so that a search finds the first.
template <typename Entry>
bool Before(const Entry& a, const Entry& b) {
  if (a.vgfn != b.vgfn) return a.vgfn < b.vgfn;
  if (a.key != b.key) return a.key < b.key;
  return a.piece < b.piece;
}

// By "VGFN" and key only: what a search compares.
template <typename Entry>
bool KeyBefore(const Entry& a, const Entry& b) {
  return a.vgfn != b.vgfn ? a.vgfn < b.vgfn : a.key < b.key;
}

}  // namespace

void ModelFile::Read(TextFile& file) {
  records_.Parse(file);
  if (const CSection* sizes = records_.FindSection("MSIZ")) {
    const FieldColumn name = records_.Column(*sizes, "SNAM");
    for (const CElementsArray& record : *sizes) sizes_.emplace_back(name.Of(record));
  }
  const CSection* pieces = records_.FindSection("MPCE");
  if (pieces == nullptr) return;
  const FieldColumn vgfn = records_.Column(*pieces, "VGFN"), number = records_.Column(*pieces, "PNUM"),
                    key = records_.Column(*pieces, "IART"), name = records_.Column(*pieces, "PNAM"),
                    rotation = records_.Column(*pieces, "PROT"), x_factor = records_.Column(*pieces, "PXSC"),
                    y_factor = records_.Column(*pieces, "PYSC");
  pieces_.reserve(pieces->size());
  by_number_.reserve(pieces->size());
  by_key_.reserve(pieces->size());
  for (const CElementsArray& record : *pieces) {
    const auto index = static_cast<std::uint32_t>(pieces_.size());
    Piece piece;
    piece.name = name.Of(record);
    if (!rotation.Of(record).empty()) piece.rotation = Atof(rotation.Of(record));
    piece.has_x = !x_factor.Of(record).empty();
    piece.has_y = !y_factor.Of(record).empty();
    if (piece.has_x) piece.x_factor = Atof(x_factor.Of(record));
    if (piece.has_y) piece.y_factor = Atof(y_factor.Of(record));
    pieces_.push_back(piece);
    by_number_.push_back({vgfn.Of(record), Atoi(number.Of(record)), index});
    by_key_.push_back({vgfn.Of(record), key.Of(record), index});
  }
  // Model files usually list their pieces in order already.
  if (!std::is_sorted(by_number_.begin(), by_number_.end(), Before<Entry<int>>)) {
    std::sort(by_number_.begin(), by_number_.end(), Before<Entry<int>>);
  }
  if (!std::is_sorted(by_key_.begin(), by_key_.end(), Before<Entry<std::string_view>>)) {
    std::sort(by_key_.begin(), by_key_.end(), Before<Entry<std::string_view>>);
  }
}

template <typename Key>
const ModelFile::Piece* ModelFile::Find(const std::vector<Entry<Key>>& entries, std::string_view vgfn,
                                        const Key& key) const {
  const Entry<Key> wanted{vgfn, key, 0};
  const auto found = std::lower_bound(entries.begin(), entries.end(), wanted, KeyBefore<Entry<Key>>);
  if (found == entries.end() || found->vgfn != vgfn || found->key != key) return nullptr;
  return &pieces_[found->piece];
}

const ModelFile::Piece* ModelFile::ByNumber(std::string_view vgfn, int number) const {
  return Find(by_number_, vgfn, number);
}

const ModelFile::Piece* ModelFile::ByKey(std::string_view vgfn, std::string_view iart) const {
  return Find(by_key_, vgfn, iart);
}

std::unique_ptr<ModelFile> LoadModelFile(const std::string& path) {
  TextFile file;
  if (!file.Open(path)) return nullptr;
  try {
    auto model = std::make_unique<ModelFile>(path);
    model->Read(file);
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
  for (const std::string& size : current_->Sizes()) sizes.push_back(size);
  return true;
}

bool ModelFileLoader::GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) {
  if (current_ == nullptr || vgfn == nullptr) return false;
  const ModelFile::Piece* found = current_->ByNumber(vgfn, piece);
  if (found == nullptr) return false;
  name = found->name;
  return true;
}

bool ModelFileLoader::Answer(const ModelFile::Piece* piece, double* rotation, double* x_factor, double* y_factor) {
  if (piece == nullptr) return false;
  *rotation = piece->rotation;
  if (piece->has_x) *x_factor = piece->x_factor;
  if (piece->has_y) *y_factor = piece->y_factor;
  return true;
}

bool ModelFileLoader::GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor,
                                       double* y_factor) {
  if (current_ == nullptr || vgfn == nullptr) return false;
  return Answer(current_->ByNumber(vgfn, piece), rotation, x_factor, y_factor);
}

bool ModelFileLoader::GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                                       double* y_factor) {
  if (current_ == nullptr || vgfn == nullptr || iart == nullptr) return false;
  return Answer(current_->ByKey(vgfn, iart), rotation, x_factor, y_factor);
}

}  // namespace dorvan_marker
