// SPDX-License-Identifier: MIT
#include "entry/import_result.hpp"

#include "entry/marker_reading.hpp"

namespace dorvan_marker {
namespace {

ImportStatus StatusOf(Failure::Kind kind) {
  switch (kind) {
    case Failure::Kind::CannotWrite: return ImportStatus::CannotWrite;
    case Failure::Kind::LoaderUnusable: return ImportStatus::LoaderUnusable;
    case Failure::Kind::OutOfMemory: return ImportStatus::OutOfMemory;
    case Failure::Kind::Malformed: break;
  }
  return ImportStatus::Malformed;
}

}  // namespace

ImportResult ImportResultOf(ImportEnd end, const std::string& marker_path, const std::string& title,
                            const std::string& unreadable) {
  ImportResult result;
  switch (end) {
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
      result.title = title;
      break;
  }
  return result;
}

ImportResult ImportResultOf(const Failure& failure) {
  ImportResult result;
  result.status = StatusOf(failure.kind);
  result.message = failure.message;
  return result;
}

}  // namespace dorvan_marker
