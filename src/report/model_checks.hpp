// SPDX-License-Identifier: MIT
#pragma once

#include "marker/marker_document.hpp"
#include "report/diagnostic_list.hpp"
#include "report/recording_loader.hpp"

namespace dorvan_marker {

// What the model files left undone, once BuildSizeLists and BuildPieceNameTable have run
// with `loader`: model files that could not be read, model names that are not plain file
// names (nothing was opened for them), sizes left as codes, pieces that their model file
// does not know, and articles whose kind gets no size. Each is placed at the marker
// record that led to it.
void CheckModels(const MarkerDocument& document, RecordingLoader& loader, DiagnosticList& diagnostics);

}  // namespace dorvan_marker
