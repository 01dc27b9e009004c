// SPDX-License-Identifier: MIT
#include "platform/file_system.hpp"

#include <atomic>

#include "platform/native_file_system.hpp"

namespace dorvan_marker {
namespace {

std::atomic<FileSystem*> replacement{nullptr};

}  // namespace

FileSystem& CurrentFileSystem(PathEncoding paths) noexcept {
  static NativeFileSystem native_system(PathEncoding::System);
  static NativeFileSystem native_utf8(PathEncoding::Utf8);
  FileSystem* chosen = replacement.load(std::memory_order_acquire);
  if (chosen != nullptr) return *chosen;
  return paths == PathEncoding::Utf8 ? native_utf8 : native_system;
}

void UseFileSystem(FileSystem* file_system) noexcept { replacement.store(file_system, std::memory_order_release); }

}  // namespace dorvan_marker
