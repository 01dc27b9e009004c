// SPDX-License-Identifier: MIT
// Writes generated markers with their model files, the same bytes every time:
//   generate-markers FOLDER [--reading]   FOLDER/S, FOLDER/M, FOLDER/L and, with --reading,
//                                         FOLDER/100MB
//   generate-markers FOLDER --seeds N     FOLDER/S1 ... FOLDER/SN: markers of the shape of S,
//                                         each from its own seed
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>

#include "marker_generator.hpp"

namespace {

using namespace dorvan_marker::bench;

void Write(const MarkerShape& shape, const std::string& folder) {
  const std::string place = folder + "/" + shape.name;
  std::filesystem::create_directories(place);
  std::cout << WriteMarker(shape, place) << "\n";
}

// Many small markers tell apart what one cannot: arithmetic that rounds differently now
// and then.
void WriteSeeds(std::size_t count, const std::string& folder) {
  for (std::size_t seed = 1; seed <= count; ++seed) {
    MarkerShape shape = SmallShape();
    shape.name += std::to_string(seed);
    shape.seed = seed;
    Write(shape, folder);
  }
}

bool ReadCount(std::string_view text, std::size_t& count) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  return error == std::errc{} && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view option = argc > 2 ? argv[2] : "";
  std::size_t seeds = 0;
  const bool understood = argc == 2 || (argc == 3 && option == "--reading") ||
                          (argc == 4 && option == "--seeds" && ReadCount(argv[3], seeds));
  if (!understood) {
    std::cerr << "usage: generate-markers FOLDER [--reading | --seeds N]\n";
    return 64;
  }
  const std::string folder = argv[1];
  try {
    if (option == "--seeds") {
      WriteSeeds(seeds, folder);
      return 0;
    }
    Write(SmallShape(), folder);
    Write(MediumShape(), folder);
    Write(LargeShape(), folder);
    if (option == "--reading") Write(ReadingShape(100u * 1000u * 1000u), folder);
  } catch (const std::exception& error) {
    std::cerr << "generate-markers: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
