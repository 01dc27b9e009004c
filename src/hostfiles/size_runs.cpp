// SPDX-License-Identifier: MIT
#include "hostfiles/size_runs.hpp"

#include <cstdint>
#include <span>

#include "marker/normalize_name.hpp"

namespace dorvan_marker {

std::vector<SizeKind> ClassifySizes(const SizeGroups& groups, const PlacementTable& table) {
  std::vector<SizeKind> kinds;
  std::span<const std::uint32_t> previous;
  bool after_pieces = false;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const std::span<const std::uint32_t> group = groups[i];
    auto same_pieces = [&] {
      if (!after_pieces || previous.size() != group.size()) return false;
      for (std::size_t k = 0; k < group.size(); ++k) {
        if (table.NameNumberOf(group[k]) != table.NameNumberOf(previous[k])) return false;
      }
      return true;
    };
    if (group.empty()) {
      kinds.push_back(kNoPieces);
      after_pieces = false;
    } else {
      kinds.push_back(same_pieces() ? kContinuesRun : kBeginsRun);
      previous = group;
      after_pieces = true;
    }
  }
  return kinds;
}

std::vector<std::string> HostModelNames(const MarkerDocument& document, const std::vector<SizeKind>& kinds) {
  const std::string prefix = NormalizeName(document.Title, document.Codes()) + "-";
  std::vector<std::string> names(kinds.size());
  std::string run;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == kBeginsRun) run = prefix + document.Sizes[i];
    if (kinds[i] != kNoPieces) names[i] = run;
  }
  return names;
}

}  // namespace dorvan_marker
