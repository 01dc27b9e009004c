// SPDX-License-Identifier: MIT
// dorvan_marker_bounds CASE MEGABYTES: writes a crafted marker of about that size (and its
// model file) into a temporary folder, imports it and lists its styles, and prints the
// time and the peak memory of the process. Each case aims at one place where the work
// could grow faster than the file: see scripts/measure-bounds.sh for the table.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dorvan_marker/import.hpp"
#include "support/test_support.hpp"

namespace {

class Writer {
 public:
  explicit Writer(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) std::exit(2);
  }
  ~Writer() { std::fclose(file_); }
  Writer& operator<<(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file_);
    return *this;
  }

 private:
  std::FILE* file_;
};

using Case = std::function<void(const test::TempDir&, std::size_t bytes)>;

const std::string kGeoHeader = "IGEO:INUM:IGRS:IXOR:IYOR:IXDI:IYDI:IGRF\n";

// A plain marker: as many articles, pieces and placements as fit.
void Plain(const test::TempDir& dir, std::size_t bytes) {
  const std::size_t n = bytes / 120;
  Writer(dir / "M.mdl") << "MSIZ:SNAM\n1:S\n1:M\nMPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n2:M:1:p:Front:0:1:1\n";
  Writer w(dir / "marker.txt");
  w << "VART:VEXT:VGFN\n";
  for (std::size_t i = 0; i < n; ++i) w << "1:VET:M\n";
  w << "VVET:VNUM:VTAI:VTBA:VCTA\n";
  for (std::size_t i = 0; i < n; ++i) w << "2:" + std::to_string(i + 1) + ":" + std::to_string(i % 2) + ":M:1\n";
  w << "VMDL:VNUM:VNMD:VTAN\n";
  for (std::size_t i = 0; i < n; ++i) w << "3:" + std::to_string(i + 1) + ":M:0\n";
  w << "IBA:IART:INAM:VNUM:IFLG\n";
  for (std::size_t i = 0; i < n; ++i) w << "4:p" + std::to_string(i) + ":1:" + std::to_string(i + 1) + ":0\n";
  w << kGeoHeader;
  for (std::size_t i = 0; i < n; ++i) w << "5:" + std::to_string(i + 1) + ":0:100:200:300:400:1000\n";
}

// Many sizes in one model file, many articles that each resolve a size through it.
void SizesTimesArticles(const test::TempDir& dir, std::size_t bytes) {
  const std::size_t sizes = bytes / 2 / 8;
  const std::size_t articles = bytes / 2 / 24;
  {
    Writer m(dir / "M.mdl");
    m << "MSIZ:SNAM\n";
    for (std::size_t i = 0; i < sizes; ++i) m << "1:" + std::to_string(i) + "\n";
  }
  Writer w(dir / "marker.txt");
  w << "VART:VEXT:VGFN\n";
  for (std::size_t i = 0; i < articles; ++i) w << "1:VET:M\n";
  w << "VVET:VNUM:VTAI:VTBA:VCTA\n";
  for (std::size_t i = 0; i < articles; ++i) w << "2:1:" + std::to_string(i % sizes) + ":M:1\n";
  w << "IBA:IART:INAM:VNUM\n3:p:1:1\n" + kGeoHeader + "4:1\n";
}

// Many header records before the placements: every lookup of a section by its tag.
void ManyHeaders(const test::TempDir& dir, std::size_t bytes) {
  Writer w(dir / "marker.txt");
  for (std::size_t i = 0; i < bytes / 2 / 4; ++i) w << "H" + std::to_string(i % 10) + "\n";
  w << "VART:VEXT\nVVET:VNUM:VTAI\nIBA:IART:VNUM\n" + kGeoHeader;
  const std::size_t first = bytes / 2 / 4 + 1;
  w << std::to_string(first) + ":VET\n" + std::to_string(first + 1) + ":1:S\n" + std::to_string(first + 2) + ":p:1\n";
  for (std::size_t i = 0; i < bytes / 2 / 8; ++i) w << std::to_string(first + 3) + ":1\n";
}

// A header of many columns, and most columns the import reads absent from it: every
// look-up of a column by its tag.
void WideHeader(const test::TempDir& dir, std::size_t bytes) {
  Writer w(dir / "marker.txt");
  w << "VART:VEXT\n1:VET\nVVET:VNUM:VTAI\n2:1:S\nIBA:IART:VNUM\n3:p:1\nIGEO:INUM";
  for (std::size_t i = 0; i < bytes / 2 / 3; ++i) w << ":X" + std::to_string(i % 10);
  w << "\n";
  for (std::size_t i = 0; i < bytes / 2 / 6; ++i) w << "4:1\n";
}

// A piece name of the longest length allowed, placed many times: the host file repeats it.
void LongNameManyPlacements(const test::TempDir& dir, std::size_t bytes) {
  Writer w(dir / "marker.txt");
  w << "VART:VEXT\n1:VET\nVVET:VNUM:VTAI\n2:1:S\nIBA:IART:VNUM\n3:" + std::string(4096, 'n') + ":1\n" + "IGEO:INUM\n";
  for (std::size_t i = 0; i < bytes / 4; ++i) w << "4:1\n";
}

// A model name of the longest length allowed, that every placement's rotation lookup builds a path from.
void LongModelNameManyPlacements(const test::TempDir& dir, std::size_t bytes) {
  const std::string name(4096, 'M');
  Writer w(dir / "marker.txt");
  w << "VART:VEXT:VGFN\n1:MDL:" + name + "\nVMDL:VNUM:VNMD:VTAN\n2:1:" + name + ":S\nIBA:IART:VNUM\n3:p:1\n" +
           "IGEO:INUM\n";
  for (std::size_t i = 0; i < bytes / 4; ++i) w << "4:1\n";
}

// Many model records: the style list.
void ManyStyles(const test::TempDir& dir, std::size_t bytes) {
  Writer w(dir / "marker.txt");
  w << "VMDL:VNUM:VNMD\n";
  for (std::size_t i = 0; i < bytes / 16; ++i) w << "1:1:STYLE" + std::to_string(i % 100000) + "\n";
}

const std::map<std::string, Case>& Cases() {
  static const std::map<std::string, Case> cases{
      {"plain", Plain},
      {"sizes-x-articles", SizesTimesArticles},
      {"many-headers", ManyHeaders},
      {"wide-header", WideHeader},
      {"long-name-x-placements", LongNameManyPlacements},
      {"long-model-name-x-placements", LongModelNameManyPlacements},
      {"many-styles", ManyStyles},
  };
  return cases;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || Cases().count(argv[1]) == 0) {
    std::fprintf(stderr, "usage: dorvan_marker_bounds CASE MEGABYTES\ncases:");
    for (const auto& [name, unused] : Cases()) std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    return 64;
  }
  test::TempDir dir;
  const std::size_t bytes = static_cast<std::size_t>(std::atof(argv[2]) * 1024 * 1024);
  Cases().at(argv[1])(dir, bytes);
  const std::string marker = dir / "marker.txt";
  std::FILE* file = std::fopen(marker.c_str(), "rb");
  std::fseek(file, 0, SEEK_END);
  const double megabytes = static_cast<double>(std::ftell(file)) / (1024.0 * 1024.0);
  std::fclose(file);

  const auto start = std::chrono::steady_clock::now();
  const dorvan_marker::ImportResult result =
      dorvan_marker::ImportMarker(marker, {dir / "csvimprt.txt", dir / "posimport.txt"});
  std::vector<std::string> styles;
  const auto listed = dorvan_marker::ReadStyleList(marker, styles);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%-30s marker %8.1f MB  import %2d  styles %d  %7.2f s  %7.2f s/MB  peak %7.1f MB  (%.1fx)  %s\n",
              argv[1], megabytes, static_cast<int>(result.status), static_cast<int>(listed.status), seconds,
              seconds / megabytes, static_cast<double>(usage.ru_maxrss) / 1024.0,
              static_cast<double>(usage.ru_maxrss) / 1024.0 / megabytes, result.message.substr(0, 120).c_str());
  return 0;
}
