// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dorvan_marker::bench {

// The shape of a generated marker. The marker's sizes are split between garments sized
// through their model file's size list ("VET" articles, four fifths of the sizes) and
// garments that name their size directly ("MDL" articles, the rest), as real markers mix
// jackets and trousers.
struct MarkerShape {
  std::string name;                // file name of the marker, without ".txt"
  std::size_t sizes = 5;           // distinct sizes of the marker
  std::size_t articles = 50;       // "VART" records: one garment in one size each
  std::size_t placements = 500;    // "IGEO" records
  std::size_t model_sizes = 20;    // sizes of every model file
  std::size_t model_pieces = 200;  // pieces of every model file
  std::uint64_t seed = 1;
  std::size_t min_bytes = 0;  // when not 0: placements are added until the text is this long
};

// The three markers of the import benchmark: S, M and L.
MarkerShape SmallShape();
MarkerShape MediumShape();
MarkerShape LargeShape();

// A marker of at least min_bytes of text, for raw reading speed.
MarkerShape ReadingShape(std::size_t min_bytes);

struct GeneratedFile {
  std::string name;  // file name inside the folder
  std::string text;  // its bytes
};

// The marker (first) and its model files, the same bytes for the same shape on every
// machine: the generator uses its own random numbers and formats only integers.
std::vector<GeneratedFile> GenerateMarker(const MarkerShape& shape);

// Writes the files of GenerateMarker into folder (which must exist) and returns the
// marker's path.
std::string WriteMarker(const MarkerShape& shape, const std::string& folder);

}  // namespace dorvan_marker::bench
