// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "models/variant_load.hpp"

namespace dorvan_marker {

// One model file as the loader knows it: its sizes and its pieces.
//
// Format (the marker's record syntax and lookups): section "MSIZ", column "SNAM": the
// sizes in order, the record at position j being size code j; section "MPCE", columns
// "VGFN", "PNUM", "IART", "PNAM", "PROT", "PXSC", "PYSC": one record a piece.
struct ModelFile {
  struct Piece {
    std::string name;      // "PNAM"
    std::string rotation;  // "PROT", radians as text
    std::string x_factor;  // "PXSC"
    std::string y_factor;  // "PYSC"
  };

  std::vector<std::string> sizes;
  std::vector<Piece> pieces;
  std::map<std::pair<std::string, int>, std::size_t> by_number;          // first piece per (VGFN, PNUM)
  std::map<std::pair<std::string, std::string>, std::size_t> by_key;     // first piece per (VGFN, IART)
};

// Reads the model file at path; null when it cannot be opened or read as records.
std::unique_ptr<ModelFile> LoadModelFile(const std::string& path);

// The library's own VariantLoad. Each model file is read once per loader (one import):
// repeated opens of the same path are answered from memory.
class ModelFileLoader final : public VariantLoad {
 public:
  explicit ModelFileLoader(const char* path = nullptr);

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
  static bool Answer(const ModelFile::Piece& piece, double* rotation, double* x_factor, double* y_factor);

  std::unordered_map<std::string, std::shared_ptr<const ModelFile>> cache_;  // null: unreadable
  const ModelFile* current_ = nullptr;
  std::vector<std::string> failed_paths_;
};

}  // namespace dorvan_marker
