// SPDX-License-Identifier: MIT
#include "replacement/leftover_files.hpp"

#include <algorithm>

#include "replacement/staging_names.hpp"

namespace dorvan_marker {
namespace {

// Removes the leftovers of the host files at places, which share one folder.
void RemoveLeftoversIn(FileSystem& file_system, const std::vector<HostFilePlace>& places,
                       const std::vector<std::string>& own_files) {
  std::vector<std::string> entries;
  if (!file_system.ListFolder(places.front().Folder(), entries).Ok()) return;
  for (const std::string& entry : entries) {
    const bool staging = std::any_of(places.begin(), places.end(),
                                     [&](const HostFilePlace& place) { return IsStagingName(entry, place.name); });
    const std::string path = places.front().prefix + entry;
    // A held one belongs to a running import.
    if (staging && std::find(own_files.begin(), own_files.end(), path) == own_files.end()) {
      file_system.RemoveUnheld(path);
    }
  }
}

}  // namespace

void RemoveLeftovers(FileSystem& file_system, const std::vector<std::string>& host_files,
                     const std::vector<std::string>& own_files) {
  std::vector<HostFilePlace> places;
  for (const std::string& host_file : host_files) places.push_back(PlaceOf(host_file, file_system.Paths()));
  // Host files of one folder (as spelled) are looked for in one listing of it.
  std::stable_sort(places.begin(), places.end(), [](const auto& a, const auto& b) { return a.prefix < b.prefix; });
  for (auto first = places.begin(); first != places.end();) {
    const auto last =
        std::find_if(first, places.end(), [&](const auto& place) { return place.prefix != first->prefix; });
    RemoveLeftoversIn(file_system, std::vector<HostFilePlace>(first, last), own_files);
    first = last;
  }
}

}  // namespace dorvan_marker
