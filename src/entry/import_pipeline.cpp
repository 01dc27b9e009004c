// SPDX-License-Identifier: MIT
#include "entry/import_pipeline.hpp"

#include "entry/marker_reading.hpp"
#include "models/piece_name_table.hpp"
#include "models/size_lists.hpp"

namespace dorvan_marker {

ImportEnd RunImport(MarkerDocument& document, const LoaderMaker& make_loader, ImportObserver& observer,
                    std::string& unreadable) {
  if (!ReadMarker(document, unreadable)) return ImportEnd::CannotOpen;
  observer.MarkerRead(document);
  if (!document.HasModels()) return ImportEnd::NoModels;
  document.Loader = make_loader();
  BuildSizeLists(document);
  BuildPieceNameTable(document);
  observer.ModelsResolved(document);
  HostPlacements placements = ResolveHostPlacements(document);
  observer.PlacementsResolved(document, placements);
  return ImportEnd::Resolved;
}

}  // namespace dorvan_marker
