// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "hostfiles/host_placements.hpp"
#include "marker/marker_document.hpp"
#include "platform/variant_load.hpp"

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

// Makes the call's model-file loader; may raise (a loader plug-in that cannot serve).
using LoaderMaker = std::function<std::unique_ptr<VariantLoad>()>;

// The one road of an import: read the marker of document (constructed with the marker
// path and no loader), test that it has models, give the document the loader that
// make_loader makes, build its size lists and piece names through the model files,
// resolve its placements, and tell observer after each stage. The loader is made only
// for a marker that can be read and has models, so that a loader plug-in is never loaded
// for a marker the import refuses on its own. Raises InvalidArgumentError where the
// marker is malformed, and whatever make_loader and the observer raise. For CannotOpen,
// unreadable says why in the system's words.
ImportEnd RunImport(MarkerDocument& document, const LoaderMaker& make_loader, ImportObserver& observer,
                    std::string& unreadable);

}  // namespace dorvan_marker
