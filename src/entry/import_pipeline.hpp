// SPDX-License-Identifier: MIT
#pragma once

#include "hostfiles/host_placements.hpp"
#include "marker/marker_document.hpp"

namespace dorvan_marker {

// What the caller of RunImport makes of the marker at each stage. The import writes the
// host files at the end of the road; the report records what it sees at every stage.
class ImportObserver {
 public:
  virtual ~ImportObserver() = default;
  // The marker is read, before anything is asked of it.
  virtual void MarkerRead(const MarkerDocument& /*document*/) {}
  // Its size lists and piece-name table are built.
  virtual void ModelsResolved(const MarkerDocument& /*document*/) {}
  // Its placements are resolved: the end of the road.
  virtual void PlacementsResolved(const MarkerDocument& document, HostPlacements& placements) = 0;
};

// Where the road ended.
enum class ImportEnd {
  CannotOpen,  // the marker file cannot be opened or read
  NoModels,    // the marker lacks a section the import needs (HasModels)
  Resolved,    // every step ran
};

// The one road of an import: read the marker of document (constructed with the marker
// path and the call's loader), test that it has models, build its size lists and piece
// names through the model files, resolve its placements, and tell observer after each
// stage. Raises InvalidArgumentError where the marker is malformed, and whatever the
// observer raises.
ImportEnd RunImport(MarkerDocument& document, ImportObserver& observer);

}  // namespace dorvan_marker
