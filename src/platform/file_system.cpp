// SPDX-License-Identifier: MIT
#include "platform/file_system.hpp"

#include <atomic>

#include "platform/native_file_system.hpp"

namespace dorvan_marker {
namespace {

std::atomic<FileSystem*> replacement{nullptr};

}  // namespace

FileSystem& CurrentFileSystem() noexcept {
  static NativeFileSystem native;
  FileSystem* chosen = replacement.load(std::memory_order_acquire);
  return chosen != nullptr ? *chosen : native;
}

void UseFileSystem(FileSystem* file_system) noexcept { replacement.store(file_system, std::memory_order_release); }

}  // namespace dorvan_marker
