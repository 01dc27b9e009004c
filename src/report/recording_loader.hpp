// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/variant_load.hpp"

namespace dorvan_marker {

// A loader that forwards every call to another and remembers what a report needs: which
// paths could not be opened and how many sizes each opened file gave.
class RecordingLoader final : public VariantLoad {
 public:
  explicit RecordingLoader(std::unique_ptr<VariantLoad> inner) : inner_(std::move(inner)) {}

  bool Open(const char* path) override;
  bool GetSizesFromMDL(const char* name, CStringArray& sizes) override;
  bool GetPieceNameFromMDL(const char* vgfn, int piece, std::string& name) override;
  bool GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor, double* y_factor) override;
  bool GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor,
                        double* y_factor) override;
  // As the loader it records: a failed file is still opened by the first query that needs
  // it, so the record is the same either way.
  bool RepeatsAnswers() const noexcept override { return inner_->RepeatsAnswers(); }

  bool Failed(const std::string& path) const { return failed_.count(path) != 0; }
  const std::set<std::string>& FailedPaths() const noexcept { return failed_; }
  // Sizes the file at path gave; -1 when none were asked of it or the answer was false.
  long SizeCount(const std::string& path) const;

 private:
  std::unique_ptr<VariantLoad> inner_;
  std::string open_;  // path of the last successful Open, empty after a failed one
  std::set<std::string> failed_;
  std::map<std::string, long> size_counts_;
};

}  // namespace dorvan_marker
