// SPDX-License-Identifier: MIT
#include "entry/failure.hpp"

#include <new>

#include "models/plugin_loader.hpp"

namespace dorvan_marker {
namespace {

Failure Malformed(InvalidArgumentError error, const std::string& marker_path) {
  error.SetFileIfUnknown(marker_path);
  Failure failure;
  failure.where = error.Where();
  failure.detail = error.Detail();
  failure.message = error.what();
  return failure;
}

// A failure that is about no place in the marker: its message is whole as raised.
Failure Plain(Failure::Kind kind, const std::exception& error) {
  Failure failure;
  failure.kind = kind;
  failure.detail = failure.message = error.what();
  return failure;
}

// Built without a new allocation where it can be: the memory has just run out.
Failure OutOfMemory(const std::string& marker_path) noexcept {
  Failure failure;
  failure.kind = Failure::Kind::OutOfMemory;
  try {
    failure.detail = "out of memory while reading " + marker_path;
  } catch (const std::bad_alloc&) {
    failure.detail = "out of memory";  // fits the string's own room: no allocation
  }
  try {
    failure.message = failure.detail;
  } catch (const std::bad_alloc&) {
    failure.message = "out of memory";
  }
  return failure;
}

}  // namespace

Failure CurrentFailure(const std::string& marker_path) {
  try {
    throw;
  } catch (const InvalidArgumentError& error) {
    return Malformed(error, marker_path);
  } catch (const HostFileError& error) {
    return Plain(Failure::Kind::CannotWrite, error);
  } catch (const LoaderPluginError& error) {
    return Plain(Failure::Kind::LoaderUnusable, error);
  } catch (const std::bad_alloc&) {
    return OutOfMemory(marker_path);
  } catch (const std::exception& error) {
    // Nothing but the errors above is raised on purpose; whatever else comes up is still
    // the marker's doing, and the promise is that nothing leaves.
    return Malformed(InvalidArgumentError(error.what()), marker_path);
  } catch (...) {
    return Malformed(InvalidArgumentError("an unknown error"), marker_path);
  }
}

}  // namespace dorvan_marker
