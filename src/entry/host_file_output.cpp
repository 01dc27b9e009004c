// SPDX-License-Identifier: MIT
#include "entry/host_file_output.hpp"

#include "hostfiles/command_file_writer.hpp"
#include "hostfiles/placement_file_writer.hpp"
#include "replacement/replacement_transaction.hpp"

namespace dorvan_marker {

void HostFileOutput::PlacementsResolved(const MarkerDocument& document, HostPlacements& placements) {
  ReplacementTransaction transaction({out_.command_file, out_.placement_file}, paths_);
  WriteCommandFile(document, placements, transaction.Staged(0));
  WritePlacementFile(document, placements, transaction.Staged(1));
  transaction.Commit();
  written_ = placements.groups.Count();
}

}  // namespace dorvan_marker
