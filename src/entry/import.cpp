// SPDX-License-Identifier: MIT
// Importing a marker into the two host files.
#include <cstring>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/version.h"
#include "entry/error_box.hpp"
#include "entry/failure.hpp"
#include "entry/host_file_output.hpp"
#include "entry/import_pipeline.hpp"
#include "entry/import_result.hpp"
#include "entry/loader_choice.hpp"
#include "entry/marker_reading.hpp"
#include "platform/file_names.hpp"
#include "platform/native_path.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kMessageBufferSize = 128;  // the box's text, its zero included
constexpr std::size_t kNameBufferSize = 256;     // the caller's name buffer, its zero included

// The import into `out` with the loader plug-in found as `search` says; placements
// receives the lines of the placement file.
ImportResult Import(const std::string& marker_path, const HostFilePaths& out, const ImportOptions& options,
                    PluginSearch search, std::size_t& placements) {
  ImportResult result;
  placements = 0;
  const std::optional<Failure> failure = Guarded(marker_path, [&] {
    const LoaderChoice loader = ChooseLoader(options, search);
    MarkerDocument document(marker_path, nullptr, loader.code_page, loader.paths);
    HostFileOutput output(out, loader.paths);
    std::string unreadable;
    const ImportEnd end = RunImport(
        document, [&] { return loader.Make().loader; }, output, unreadable);
    result = ImportResultOf(end, marker_path, document.Title, unreadable);
    placements = output.Written();
  });
  if (failure) {
    result = ImportResultOf(*failure);
    placements = 0;
  }
  return result;
}

// The box's words, whole or cut to the box's buffer.
void ShowInBox(const std::string& text) {
  ShowErrorBox(CutToCharacters(text, kMessageBufferSize - 1, CodePage::System()));
}

}  // namespace

HostFilePaths HostFilePathsIn(const std::string& folder) { return HostFilePathsIn(folder, PathEncoding::System); }

HostFilePaths HostFilePathsIn(const std::string& folder, PathEncoding paths) {
#if defined(_WIN32)
  const char* const separator = "\\";
#else
  const char* const separator = "/";
#endif
  // Paths are in the system's code page (or UTF-8) whatever the marker's names are written
  // in: a last byte that looks like a separator may be the second half of a character.
  const bool ends_in_separator =
      FileNameStart(folder, PathCodePage(paths, CodePage::System()), FileNameRules::Native()) == folder.size();
  const std::string prefix = ends_in_separator ? folder : folder + separator;
  return {prefix + "csvimprt.txt", prefix + "posimport.txt"};
}

HostFilePaths FixedHostFilePaths() {
#if defined(_WIN32)
  return HostFilePathsIn("c:\\userroot\\temp");
#else
  return HostFilePathsIn("/userroot/temp");
#endif
}

ImportResult ImportMarker(const std::string& marker_path, const HostFilePaths& out, const ImportOptions& options,
                          std::size_t& placements) {
  return Import(marker_path, out, options, PluginSearch::kCallerAndEnvironment, placements);
}

ImportResult ImportMarker(const std::string& marker_path, const HostFilePaths& out, const ImportOptions& options) {
  std::size_t placements = 0;
  return ImportMarker(marker_path, out, options, placements);
}

const char* Version() { return DORVAN_MARKER_VERSION_STRING; }

}  // namespace dorvan_marker

extern "C" int ImportDorvanFile(const char* path, char* name) {
  using namespace dorvan_marker;
  if (path == nullptr) return DORVAN_IMPORT_CANNOT_OPEN;
  try {
    // The DLL also finds a site's plug-in beside itself.
    std::size_t placements = 0;
    const ImportResult result = Import(path, FixedHostFilePaths(), {}, PluginSearch::kAlsoBesideLibrary, placements);
    switch (result.status) {
      case ImportStatus::Imported:
        if (name != nullptr) {
          const std::string title = CutToCharacters(result.title, kNameBufferSize - 1, CodePage::System());
          std::memcpy(name, title.c_str(), title.size() + 1);
        }
        break;
      case ImportStatus::NoModels: ShowInBox(NoModelsMessage(name != nullptr ? name : "")); break;
      case ImportStatus::LoaderUnusable: ShowInBox(result.message); break;
      case ImportStatus::OutOfMemory:
        // Not among the results hosts know: the host files were not written, and the box
        // tells the user why.
        ShowInBox(result.message);
        return DORVAN_IMPORT_CANNOT_WRITE;
      default: break;
    }
    return static_cast<int>(result.status);
  } catch (...) {
    // Only the copying above can raise (out of memory); nothing leaves towards the host.
    // The text fits a string's own room, so showing it allocates nothing.
    ShowErrorBox("out of memory");
    return DORVAN_IMPORT_CANNOT_WRITE;
  }
}
