// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace dorvan_marker {

// What an article's "VEXT" makes of it: where its size is found, and how its pieces ask
// their model file for rotation and scale. Every step that looks at an article's kind asks
// here.
enum class ArticleKind {
  Model,    // "MDL" in any case: size from "VTAN" of its "VMDL" record; pieces asked by number
  Garment,  // "VET" in any case, or empty in a marker with a "VVET" section: size from its "VVET" record
  NoSize,   // empty in a marker without "VVET", or exactly "xin": the size "-1"
  Other,    // anything else: no size of its own
};

// The kind of an article whose "VEXT" is vext, in a marker that has a "VVET" section or not.
ArticleKind ArticleKindOf(std::string_view vext, bool marker_has_garments);

// Whether a "VVET" record's "VCTA" marks a fixed article, whose size code is never
// replaced by a size name: "0", compared as _stricmp compares.
bool IsFixedSizeFlag(std::string_view vcta);

// Whether a "VVET" record's "VCTA" makes its placements take the article's resolved size
// rather than its "VTAI": "1" alone (a leading zero or blank makes it differ).
bool IsResolvedSizeFlag(std::string_view vcta);

// Whether vext is "MDL" in any case: the articles whose pieces their model file knows by
// number. The rest are asked by their key, whatever their kind.
bool IsModelKind(std::string_view vext);

}  // namespace dorvan_marker
