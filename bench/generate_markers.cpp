// SPDX-License-Identifier: MIT
// Writes the benchmark markers with their model files: FOLDER/S, FOLDER/M, FOLDER/L and,
// with --reading, FOLDER/100MB. The same bytes every time.
#include <filesystem>
#include <iostream>
#include <string>

#include "marker_generator.hpp"

int main(int argc, char** argv) {
  using namespace dorvan_marker::bench;
  if (argc < 2) {
    std::cerr << "usage: generate-markers FOLDER [--reading]\n";
    return 64;
  }
  const std::string folder = argv[1];
  const bool reading = argc > 2 && std::string(argv[2]) == "--reading";
  try {
    auto write = [&](const MarkerShape& shape) {
      const std::string place = folder + "/" + shape.name;
      std::filesystem::create_directories(place);
      std::cout << WriteMarker(shape, place) << "\n";
    };
    write(SmallShape());
    write(MediumShape());
    write(LargeShape());
    if (reading) write(ReadingShape(100u * 1000u * 1000u));
  } catch (const std::exception& error) {
    std::cerr << "generate-markers: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
