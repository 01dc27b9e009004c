// SPDX-License-Identifier: MIT
// Importing a marker into the two host files.
#include <cstring>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/version.h"
#include "entry/error_box.hpp"
#include "entry/failure.hpp"
#include "entry/import_pipeline.hpp"
#include "entry/loader_choice.hpp"
#include "entry/marker_reading.hpp"
#include "hostfiles/command_file_writer.hpp"
#include "hostfiles/placement_file_writer.hpp"
#include "platform/file_names.hpp"
#include "platform/native_path.hpp"
#include "replacement/replacement_transaction.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kMessageBufferSize = 128;  // the box's text, its zero included
constexpr std::size_t kNameBufferSize = 256;     // the caller's name buffer, its zero included

// The end of an import's road: both host files written beside their targets, then put in
// place together.
class HostFileOutput final : public ImportObserver {
 public:
  HostFileOutput(const HostFilePaths& out, PathEncoding paths) : out_(out), paths_(paths) {}

  void PlacementsResolved(const MarkerDocument& document, HostPlacements& placements) override {
    ReplacementTransaction transaction({out_.command_file, out_.placement_file}, paths_);
    WriteCommandFile(document, placements, transaction.Staged(0));
    WritePlacementFile(document, placements, transaction.Staged(1));
    transaction.Commit();
    written_ = placements.groups.Count();
  }

  // The placements in the placement file, once it is in place.
  std::size_t Written() const noexcept { return written_; }

 private:
  const HostFilePaths& out_;
  PathEncoding paths_;
  std::size_t written_ = 0;
};

ImportStatus StatusOf(Failure::Kind kind) {
  switch (kind) {
    case Failure::Kind::CannotWrite: return ImportStatus::CannotWrite;
    case Failure::Kind::LoaderUnusable: return ImportStatus::LoaderUnusable;
    case Failure::Kind::OutOfMemory: return ImportStatus::OutOfMemory;
    case Failure::Kind::Malformed: break;
  }
  return ImportStatus::Malformed;
}

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
    switch (RunImport(
        document, [&] { return loader.Make().loader; }, output, unreadable)) {
      case ImportEnd::CannotOpen:
        result.status = ImportStatus::CannotOpen;
        result.message = CannotOpenMessage(marker_path, unreadable);
        break;
      case ImportEnd::NoModels:
        result.status = ImportStatus::NoModels;
        result.message = NoModelsMessage(marker_path);
        break;
      case ImportEnd::Resolved:
        result.status = ImportStatus::Imported;
        result.title = document.Title;
        placements = output.Written();
        break;
    }
  });
  if (failure) {
    result.status = StatusOf(failure->kind);
    result.title.clear();
    placements = 0;
    result.message = failure->message;
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
