// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "marker/record_file.hpp"
#include "platform/text_file.hpp"
#include "platform/variant_load.hpp"

namespace dorvan_marker {

// One model file as the loader knows it: its sizes and its pieces.
//
// Format (the marker's record syntax and lookups): section "MSIZ", column "SNAM": the
// sizes in order, the record at position j being size code j; section "MPCE", columns
// "VGFN", "PNUM", "IART", "PNAM", "PROT", "PXSC", "PYSC": one record a piece.
//
// Texts are views into the file's records, which the model keeps. A marker asks for few
// of a model file's pieces: each look-up table is made when it is first needed, and a
// piece's numbers are read when it is first found, once.
class ModelFile {
 public:
  struct Piece {
    std::string_view name;  // "PNAM"
    double rotation = 0.0;  // "PROT" in radians, 0.0 when empty
    bool has_x = false;     // "PXSC" is not empty
    bool has_y = false;     // "PYSC" is not empty
    double x_factor = 1.0;  // "PXSC"
    double y_factor = 1.0;  // "PYSC"
  };

  explicit ModelFile(const std::string& path) : records_(path) {}
  ModelFile(const ModelFile&) = delete;
  ModelFile& operator=(const ModelFile&) = delete;

  // Reads the records of file; raises InvalidArgumentError where the reader does.
  void Read(TextFile& file);

  const std::vector<std::string>& Sizes() const noexcept { return sizes_; }
  // The first piece in file order with this "VGFN" and "PNUM" (read with atoi), or null.
  const Piece* ByNumber(std::string_view vgfn, int number) const;
  // The first piece in file order with this "VGFN" and "IART", or null.
  const Piece* ByKey(std::string_view vgfn, std::string_view iart) const;

 private:
  template <typename Key>
  struct Entry {
    std::string_view vgfn;
    Key key;
    std::uint32_t piece;  // position in pieces_
  };
  template <typename Key>
  const Piece* Find(const std::vector<Entry<Key>>& entries, std::string_view vgfn, const Key& key) const;
  // Fills entries from the key of each piece record, sorted, unless done already.
  template <typename Key, typename ReadKey>
  void Index(std::vector<Entry<Key>>& entries, bool& indexed, ReadKey read_key) const;
  const Piece& PieceAt(std::uint32_t index) const;

  RecordFile records_;
  std::vector<std::string> sizes_;
  const CSection* pieces_section_ = nullptr;  // "MPCE", null when the file has none
  FieldColumn vgfn_, number_, key_, name_, rotation_, x_factor_, y_factor_;
  // Made on first use (see above); the file never changes once read.
  mutable std::vector<Piece> pieces_;  // by record; valid where converted_
  mutable std::vector<bool> converted_;
  mutable std::vector<Entry<int>> by_number_;            // sorted by (vgfn, number), file order kept among equals
  mutable std::vector<Entry<std::string_view>> by_key_;  // sorted by (vgfn, iart), file order kept among equals
  mutable bool by_number_made_ = false;
  mutable bool by_key_made_ = false;
};

// Reads the model file at path (written as paths says); null when it cannot be opened or
// read as records.
std::unique_ptr<ModelFile> LoadModelFile(const std::string& path, PathEncoding paths = PathEncoding::System);

// The library's own VariantLoad. Each model file is read once per loader (one import):
// repeated opens of the same path are answered from memory.
class ModelFileLoader final : public VariantLoad {
 public:
  explicit ModelFileLoader(const char* path = nullptr);
  // Opens model files by paths written as paths says.
  explicit ModelFileLoader(PathEncoding paths) : paths_(paths) {}

  bool Open(const char* path) override;
  bool GetSizesFromMDL(const char* name, CStringArray& sizes) override;
  bool GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) override;
  bool GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor, double* y_factor) override;
  bool GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                        double* y_factor) override;
  // Files are read once and never change during an import.
  bool RepeatsAnswers() const noexcept override { return true; }

  // Every path that Open was asked for and could not read, for reports.
  const std::vector<std::string>& FailedPaths() const noexcept { return failed_paths_; }

 private:
  static bool Answer(const ModelFile::Piece* piece, double* rotation, double* x_factor, double* y_factor);

  std::unordered_map<std::string, std::shared_ptr<const ModelFile>> cache_;  // null: unreadable
  const ModelFile* current_ = nullptr;
  std::string last_path_;  // the path Open found last, and its model
  const ModelFile* last_model_ = nullptr;
  bool last_known_ = false;
  std::vector<std::string> failed_paths_;
  PathEncoding paths_ = PathEncoding::System;
};

}  // namespace dorvan_marker
