// SPDX-License-Identifier: MIT
// The whole import from bytes: a marker and the model files beside it, imported into host
// files in a temporary folder, then the style list of the same marker.
//
// Input: the marker's text, then for each model file a line "@@@ NAME" followed by the
// text of NAME.mdl (at most four). The first byte of the input chooses the code page.
// Beside the sanitizers it checks the promise to the host: nothing escapes, and the host
// files are written both or neither, with no staging file left behind.
#include <dirent.h>
#include <unistd.h>

#include <sys/stat.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/import.hpp"

namespace {

constexpr std::string_view kModelMark = "\n@@@ ";
constexpr std::size_t kMaxModels = 4;
constexpr const char* kCodePages[] = {"1252", "utf-8", "932", "936"};

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

const std::string& Folder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/dorvan-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return folder;
}

std::string PathIn(const std::string& name) { return Folder() + "/" + name; }

// Whether an import left a staging file (a name ending in ".dorvan-new" or ".dorvan-old").
bool HasStagingFile() {
  DIR* dir = opendir(Folder().c_str());
  if (dir == nullptr) std::abort();
  bool found = false;
  while (const dirent* entry = readdir(dir)) found = found || std::strstr(entry->d_name, ".dorvan-") != nullptr;
  closedir(dir);
  return found;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

void Write(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
  std::fclose(file);
}

// A model's name as a file name: letters, digits, blank, '-' and '_' only, never empty.
std::string FileNameOf(std::string_view name) {
  std::string out;
  for (char c : name.substr(0, 32)) {
    const bool keep =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '_';
    if (keep) out += c;
  }
  return out.empty() ? "M" : out;
}

// Splits the input into the marker and its model files, and writes them all.
std::vector<std::string> WriteFiles(std::string_view input) {
  std::vector<std::string> written;
  std::size_t mark = input.find(kModelMark);
  Write(PathIn("marker.txt"), input.substr(0, mark));
  while (mark != std::string_view::npos && written.size() < kMaxModels) {
    const std::size_t name_start = mark + kModelMark.size();
    const std::size_t name_end = input.find('\n', name_start);
    if (name_end == std::string_view::npos) break;
    const std::size_t next = input.find(kModelMark, name_end);
    const std::string path = PathIn(FileNameOf(input.substr(name_start, name_end - name_start)) + ".mdl");
    Write(path, input.substr(name_end + 1, next == std::string_view::npos ? next : next - name_end - 1));
    written.push_back(path);
    mark = next;
  }
  return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> models = WriteFiles(input);
  const dorvan_marker::HostFilePaths out{PathIn("csvimprt.txt"), PathIn("posimport.txt")};
  std::remove(out.command_file.c_str());
  std::remove(out.placement_file.c_str());

  dorvan_marker::ImportOptions options;
  options.code_page = kCodePages[size == 0 ? 0 : data[0] % 4];
  const dorvan_marker::ImportResult result = dorvan_marker::ImportMarker(PathIn("marker.txt"), out, options);
  const bool imported = result.status == dorvan_marker::ImportStatus::Imported;
  Check(Exists(out.command_file) == imported);
  Check(Exists(out.placement_file) == imported);
  Check(!HasStagingFile());
  Check(imported == result.message.empty());

  std::vector<std::string> styles{"KEEP"};
  const bool listed = GetStyleList(PathIn("marker.txt").c_str(), &styles);
  Check(listed || styles == std::vector<std::string>{"KEEP"});

  for (const std::string& model : models) std::remove(model.c_str());
  return 0;
}
