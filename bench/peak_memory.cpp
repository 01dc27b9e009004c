// SPDX-License-Identifier: MIT
// Peak resident memory of one import or one parse, in its own process so that nothing
// else that the benchmarks did counts:
//   peak-memory import MARKER OUT_DIR    peak-memory parse MARKER
// prints the peak in KiB: VmHWM of /proc/self/status where there is one, for getrusage's
// ru_maxrss also counts the process that started this one, up to its exec.
//   peak-memory faults MARKER OUT_DIR COUNT
// prints the page faults per import over COUNT imports after a first one: a heap that the
// allocator gives back to the system after each import and takes again for the next
// costs a fault for every page of it, every time.
#include <sys/resource.h>

#include <fstream>
#include <iostream>
#include <string>

#include "dorvan_marker/import.hpp"
#include "marker/marker_document.hpp"
#include "platform/text_file.hpp"

long PeakKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

bool Import(const std::string& marker, const std::string& out) {
  const auto result = dorvan_marker::ImportMarker(marker, {out + "/csvimprt.txt", out + "/posimport.txt"});
  if (result.status == dorvan_marker::ImportStatus::Imported) return true;
  std::cerr << "peak-memory: " << result.message << "\n";
  return false;
}

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  if (command == "faults" && argc == 5) {
    const long count = std::stol(argv[4]);
    if (count <= 0 || !Import(argv[2], argv[3])) return 1;
    const long before = MinorFaults();
    for (long i = 0; i < count; ++i) {
      if (!Import(argv[2], argv[3])) return 1;
    }
    std::cout << static_cast<double>(MinorFaults() - before) / static_cast<double>(count) << "\n";
    return 0;
  }
  if (command == "import" && argc == 4) {
    if (!Import(argv[2], argv[3])) return 1;
  } else if (command == "parse" && argc == 3) {
    dorvan_marker::MarkerDocument document(argv[2], nullptr);
    dorvan_marker::TextFile file;
    if (!file.Open(argv[2], dorvan_marker::FileSharing::kNone)) {
      std::cerr << "peak-memory: cannot open " << argv[2] << "\n";
      return 1;
    }
    document.Parse(file);
  } else {
    std::cerr << "usage: peak-memory import MARKER OUT_DIR | peak-memory parse MARKER"
                 " | peak-memory faults MARKER OUT_DIR COUNT\n";
    return 64;
  }
  std::cout << PeakKib() << "\n";
  return 0;
}
