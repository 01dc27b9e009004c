// SPDX-License-Identifier: MIT
// Importing a marker into the two host files.
#include <cstring>
#include <new>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/version.h"
#include "entry/error_box.hpp"
#include "entry/host_file_transaction.hpp"
#include "entry/marker_reading.hpp"
#include "hostfiles/size_groups.hpp"
#include "models/model_file_path.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kMessageBufferSize = 128;  // the box's text, its zero included
constexpr std::size_t kNameBufferSize = 256;     // the caller's name buffer, its zero included

ImportResult Failure(ImportStatus status, std::string message) {
  ImportResult result;
  result.status = status;
  result.message = std::move(message);
  return result;
}

}  // namespace

HostFilePaths HostFilePathsIn(const std::string& folder) {
#if defined(_WIN32)
  const char* const separator = "\\";
#else
  const char* const separator = "/";
#endif
  // Paths are in the system's code page whatever the marker's names are written in: a
  // last byte that looks like a separator may be the second half of a character.
  const bool ends_in_separator = FileNameStart(folder, CodePage::System()) == folder.size();
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

ImportResult ImportMarker(const std::string& marker_path, const HostFilePaths& out, const ImportOptions& options) {
  try {
    MarkerDocument document(marker_path, nullptr, CodePageOf(options));
    if (!ReadMarker(document)) return Failure(ImportStatus::CannotOpen, "cannot open " + marker_path);
    if (!document.HasModels()) return Failure(ImportStatus::NoModels, NoModelsMessage(marker_path));
    const char* path = marker_path.c_str();
    document.BuildSizeLists(path);
    document.BuildPieceNameTable(path);
    HostFileTransaction transaction(out);
    PlacementTable placements = document.ResolvePlacements();
    const SizeGroups groups(document.Sizes, placements);
    document.WriteCommandFile(path, transaction.Staging().command_file.c_str(), placements, groups);
    document.WritePlacementFile(path, transaction.Staging().placement_file.c_str(), placements, groups);
    transaction.Commit();
    ImportResult result;
    result.status = ImportStatus::Imported;
    result.title = document.Title;
    return result;
  } catch (const InvalidArgumentError& error) {
    InvalidArgumentError located = error;
    located.SetFileIfUnknown(marker_path);
    return Failure(ImportStatus::Malformed, located.what());
  } catch (const HostFileError& error) {
    return Failure(ImportStatus::CannotWrite, error.what());
  } catch (const std::bad_alloc&) {
    return Failure(ImportStatus::Malformed, marker_path + ": out of memory");
  } catch (const std::exception& error) {
    // Nothing but the errors above is raised on purpose; whatever else comes up is still
    // the marker's doing, and the promise is that nothing leaves.
    return Failure(ImportStatus::Malformed, marker_path + ": " + error.what());
  }
}

const char* Version() { return DORVAN_MARKER_VERSION_STRING; }

}  // namespace dorvan_marker

extern "C" int ImportDorvanFile(const char* path, char* name) {
  using namespace dorvan_marker;
  if (path == nullptr) return DORVAN_IMPORT_CANNOT_OPEN;
  try {
    const ImportResult result = ImportMarker(path, FixedHostFilePaths());
    switch (result.status) {
      case ImportStatus::Imported:
        if (name != nullptr) {
          const std::string title = CutToCharacters(result.title, kNameBufferSize - 1, CodePage::System());
          std::memcpy(name, title.c_str(), title.size() + 1);
        }
        break;
      case ImportStatus::NoModels:
        ShowErrorBox(CutToCharacters(NoModelsMessage(name != nullptr ? name : ""), kMessageBufferSize - 1,
                                     CodePage::System()));
        break;
      default:
        break;
    }
    return static_cast<int>(result.status);
  } catch (...) {
    return DORVAN_IMPORT_MALFORMED;
  }
}
