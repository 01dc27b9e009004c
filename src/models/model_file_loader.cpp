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
  pieces_section_ = records_.FindSection("MPCE");
  if (pieces_section_ == nullptr) return;
  const CSection& pieces = *pieces_section_;
  vgfn_ = records_.Column(pieces, "VGFN");
  number_ = records_.Column(pieces, "PNUM");
  key_ = records_.Column(pieces, "IART");
  name_ = records_.Column(pieces, "PNAM");
  rotation_ = records_.Column(pieces, "PROT");
  x_factor_ = records_.Column(pieces, "PXSC");
  y_factor_ = records_.Column(pieces, "PYSC");
  pieces_.resize(pieces.size());
  converted_.resize(pieces.size());
  by_number_.reserve(pieces.size());
  by_key_.reserve(pieces.size());
}

template <typename Key, typename ReadKey>
void ModelFile::Index(std::vector<Entry<Key>>& entries, bool& indexed, ReadKey read_key) const {
  if (indexed) return;
  indexed = true;
  if (pieces_section_ == nullptr) return;
  entries.reserve(pieces_section_->size());
  std::uint32_t index = 0;
  for (const CElementsArray& record : *pieces_section_)
    entries.push_back({vgfn_.Of(record), read_key(record), index++});
  // Model files usually list their pieces in order already.
  if (!std::is_sorted(entries.begin(), entries.end(), Before<Entry<Key>>)) {
    std::sort(entries.begin(), entries.end(), Before<Entry<Key>>);
  }
}

const ModelFile::Piece& ModelFile::PieceAt(std::uint32_t index) const {
  Piece& piece = pieces_[index];
  if (converted_[index]) return piece;
  converted_[index] = true;
  const CElementsArray& record = (*pieces_section_)[index];
  piece.name = name_.Of(record);
  if (!rotation_.Of(record).empty()) piece.rotation = Atof(rotation_.Of(record));
  piece.has_x = !x_factor_.Of(record).empty();
  piece.has_y = !y_factor_.Of(record).empty();
  if (piece.has_x) piece.x_factor = Atof(x_factor_.Of(record));
  if (piece.has_y) piece.y_factor = Atof(y_factor_.Of(record));
  return piece;
}

template <typename Key>
const ModelFile::Piece* ModelFile::Find(const std::vector<Entry<Key>>& entries, std::string_view vgfn,
                                        const Key& key) const {
  const Entry<Key> wanted{vgfn, key, 0};
  const auto found = std::lower_bound(entries.begin(), entries.end(), wanted, KeyBefore<Entry<Key>>);
  if (found == entries.end() || found->vgfn != vgfn || found->key != key) return nullptr;
  return &PieceAt(found->piece);
}

const ModelFile::Piece* ModelFile::ByNumber(std::string_view vgfn, int number) const {
  Index(by_number_, by_number_made_, [this](const CElementsArray& record) { return Atoi(number_.Of(record)); });
  return Find(by_number_, vgfn, number);
}

const ModelFile::Piece* ModelFile::ByKey(std::string_view vgfn, std::string_view iart) const {
  Index(by_key_, by_key_made_, [this](const CElementsArray& record) { return key_.Of(record); });
  return Find(by_key_, vgfn, iart);
}

std::unique_ptr<ModelFile> LoadModelFile(const std::string& path, PathEncoding paths) {
  TextFile file;
  if (!file.Open(path, FileSharing::kReadWrite, paths)) return nullptr;
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
  // Pieces come in record order, and neighbours mostly share their model file.
  if (last_known_ && last_path_ == path) {
    current_ = last_model_;
    return current_ != nullptr;
  }
  auto found = cache_.find(path);
  if (found == cache_.end()) {
    std::shared_ptr<const ModelFile> model = LoadModelFile(path, paths_);
    if (!model) failed_paths_.emplace_back(path);
    found = cache_.emplace(path, std::move(model)).first;
  }
  last_path_ = found->first;
  last_model_ = current_ = found->second.get();
  last_known_ = true;
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
