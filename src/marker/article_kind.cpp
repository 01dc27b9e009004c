// SPDX-License-Identifier: MIT
#include "marker/article_kind.hpp"

#include "platform/c_numbers.hpp"

namespace dorvan_marker {

bool IsModelKind(std::string_view vext) { return EqualsIgnoringCase(vext, "MDL"); }

bool IsFixedSizeFlag(std::string_view vcta) { return EqualsIgnoringCase(vcta, "0"); }

bool IsResolvedSizeFlag(std::string_view vcta) { return EqualsIgnoringCase(vcta, "1"); }

ArticleKind ArticleKindOf(std::string_view vext, bool marker_has_garments) {
  if (IsModelKind(vext)) return ArticleKind::Model;
  if (EqualsIgnoringCase(vext, "VET") || (vext.empty() && marker_has_garments)) return ArticleKind::Garment;
  // "xin" counts only as written, in small letters.
  if (vext.empty() || vext == "xin") return ArticleKind::NoSize;
  return ArticleKind::Other;
}

}  // namespace dorvan_marker
