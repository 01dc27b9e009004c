// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "marker/marker_document.hpp"
#include "platform/checked_array.hpp"
#include "platform/code_page.hpp"
#include "platform/variant_load.hpp"

namespace dorvan_marker {

// One model file, opened by its base name beside the marker, and the queries that read
// it: the one road from a name in the marker to a loader, for every step that asks the
// model files (sizes, piece names, rotation and scale, the report).
//
// A base name that MakeModelFilePath refuses reaches no loader: nothing is opened, and
// every query answers false (outputs untouched), as the library's own loader answers after
// a failed open, whatever file an earlier open left current. Any other name is opened and
// asked as the loader stands, a failed open included: what a query gets then is the
// loader's own answer.
class OpenedModel {
 public:
  // Opens the model file of base_name beside document's marker, in its code page. loader
  // must outlive this object.
  OpenedModel(VariantLoad& loader, const MarkerDocument& document, std::string_view base_name);

  // The path such an object asks the loader to open (MakeModelFilePath under the rules of
  // the platform the library runs on); nothing for a refused name. Made once per name and
  // kept in document, which the answer lives as long as.
  static const std::optional<std::string>& PathOf(const MarkerDocument& document, std::string_view base_name);

  // The path the loader was asked to open; nothing when the name was refused.
  const std::optional<std::string>& Path() const noexcept { return *path_; }
  // Whether the loader's Open said true.
  bool Opened() const noexcept { return opened_; }

  // VariantLoad's queries, asked of the file opened here.
  bool GetSizes(CStringArray& sizes) const;
  bool GetPieceName(const char* vgfn, int piece, std::string& name) const;
  bool GetRotationScale(const char* vgfn, int piece, double* rotation, double* x_factor, double* y_factor) const;
  bool GetRotationScale(const char* vgfn, const char* iart, double* rotation, double* x_factor, double* y_factor) const;

 private:
  VariantLoad* loader_;                     // null when the name was refused
  const std::optional<std::string>* path_;  // in the document's ModelFilePaths
  bool opened_ = false;
};

}  // namespace dorvan_marker
