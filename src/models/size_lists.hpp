// SPDX-License-Identifier: MIT
#pragma once

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// Fills document.ArticleSizes (one size per "VART" record: its code as read, or the size
// name its model file gives that code) and document.Sizes (their distinct values in order
// of first occurrence), asking document.Loader in the model files beside the marker. Returns whether Sizes is
// non-empty, which it always is on return; raises InvalidArgumentError when "VART" holds no records or a reference
// points outside its section.
bool BuildSizeLists(MarkerDocument& document);

// Appends one size code per "VART" record, in record order, as the article's kind
// decides: "VTAN" of its "VMDL" record, "VTAI" of its "VVET" record, "-1", or empty.
void ReadArticleSizeCodes(const MarkerDocument& document, CStringArray& codes);

// Replaces codes by the size names their models' size lists give them, asking loader.
// Fixed articles ("VCTA" 0) keep their codes, and so does every article whose model file
// cannot be read or lists no sizes.
void ResolveArticleSizes(const MarkerDocument& document, CStringArray& codes, VariantLoad& loader);

}  // namespace dorvan_marker
