// SPDX-License-Identifier: MIT
// A host program built against an installed dorvan_marker: lists a marker's model names
// through the C face, imports it into a folder through the C++ API, and prints the title.
//   consumer MARKER FOLDER [LIBRARY_VERSION]    the library's version, when not the headers'
//                                               (a build against an older release)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/import.hpp"
#include "dorvan_marker/version.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) return 64;
  const char* expected = argc == 4 ? argv[3] : DORVAN_MARKER_VERSION_STRING;
  if (std::strcmp(dorvan_marker::Version(), expected) != 0) {
    std::fprintf(stderr, "library of %s, expected %s\n", dorvan_marker::Version(), expected);
    return 1;
  }
  std::vector<std::string> styles;
  if (!GetStyleList(argv[1], &styles)) return 2;
  for (const std::string& style : styles) std::printf("%s\n", style.c_str());
  const dorvan_marker::ImportResult result =
      dorvan_marker::ImportMarker(argv[1], dorvan_marker::HostFilePathsIn(argv[2]));
  if (result.status != dorvan_marker::ImportStatus::Imported) {
    std::fprintf(stderr, "%s\n", result.message.c_str());
    return 3;
  }
  std::printf("%s\n", result.title.c_str());
  return 0;
}
