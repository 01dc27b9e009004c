// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// Fills document.ArticleSizeCodes (one size code per "VART" record, as read),
// document.ArticleSizes (each code, or the size name its model file gives it) and
// document.Sizes (their distinct values in order of first occurrence), asking
// document.Loader in the model files beside the marker. Returns whether Sizes is
// non-empty, which it always is on return; raises InvalidArgumentError when "VART" holds
// no records or a reference points outside its section.
bool BuildSizeLists(MarkerDocument& document);

// Appends one size code per "VART" record, in record order, as the article's kind
// decides: "VTAN" of its "VMDL" record, "VTAI" of its "VVET" record, "-1", or empty.
void ReadArticleSizeCodes(const MarkerDocument& document, CStringArray& codes);

// Which articles' size codes their model files resolve, by position: those whose "VVET"
// record does not have "VCTA" 0, and none at all when every one has. Raises
// InvalidArgumentError when "VVET" has fewer records than the articles.
std::vector<bool> SizesFromModels(const MarkerDocument& document, const CSection& garments, std::size_t articles);

// The model file that resolves the size code of article k, and the record that names it.
struct SizeModel {
  std::string_view name;                   // the model's base name; empty when none is named
  std::string_view section;                // "VVET" or "VART"
  std::size_t position = 0;                // the naming record's position in section
  const CElementsArray* record = nullptr;  // the naming record
  std::string_view field;                  // "VTBA" or "VGFN"
};

// The model file that resolves each article's size code, for callers that ask it of many
// articles: the columns of "VVET" and "VART" are looked up once.
class SizeModels {
 public:
  // garments is the document's "VVET"; both must outlive this object.
  SizeModels(const MarkerDocument& document, const CSection& garments);

  // Looked up in this order: the "VTBA" of record k of "VVET", else the "VGFN" of the
  // article that record's "VNUM" names. Raises InvalidArgumentError when that "VNUM"
  // points outside the articles.
  SizeModel Of(std::size_t k) const;

 private:
  const MarkerDocument& document_;
  const CSection& garments_;
  const CSection* articles_;  // "VART", or null
  FieldColumn vnum_, vtba_, vgfn_;
};

// Replaces codes by the size names their models' size lists give them, asking loader.
// Fixed articles ("VCTA" 0) keep their codes, and so does every article whose model file
// cannot be read or lists no sizes.
void ResolveArticleSizes(const MarkerDocument& document, CStringArray& codes, VariantLoad& loader);

}  // namespace dorvan_marker
