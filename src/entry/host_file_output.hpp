// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

#include "dorvan_marker/import.hpp"
#include "entry/import_pipeline.hpp"

namespace dorvan_marker {

// The end of an import's road: both host files written beside their targets, then put in
// place together.
class HostFileOutput final : public ImportObserver {
 public:
  HostFileOutput(const HostFilePaths& out, PathEncoding paths) : out_(out), paths_(paths) {}

  void PlacementsResolved(const MarkerDocument& document, HostPlacements& placements) override;

  // The placements in the placement file, once it is in place; 0 until then.
  std::size_t Written() const noexcept { return written_; }

 private:
  const HostFilePaths& out_;
  PathEncoding paths_;
  std::size_t written_ = 0;
};

}  // namespace dorvan_marker
