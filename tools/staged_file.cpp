// SPDX-License-Identifier: MIT
#include "staged_file.hpp"

#if defined(_WIN32)
#  include <windows.h>
#endif

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>

#include "cli_common.hpp"

namespace cli {
namespace {

// A name no other run picks: random bits, the time and a count of this process's names.
std::string StagingName(const std::string& path) {
  static std::atomic<unsigned long long> count{0};
  std::random_device random;
  unsigned long long bits = (static_cast<unsigned long long>(random()) << 32) ^ random();
  bits ^= static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  bits += count.fetch_add(1) * 0x9E3779B97F4A7C15ULL;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", bits);
  return path + "." + hex + ".dorvan-new";
}

// Renames from over to, replacing it: an empty string, or why not.
std::string RenameOver(const std::string& from, const std::string& to) {
#if defined(_WIN32)
  // By the UTF-16 names: the command line's paths are UTF-8 here.
  if (MoveFileExW(FileSystemPath(from).c_str(), FileSystemPath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return {};
  return "cannot replace " + to + " (Windows error " + std::to_string(GetLastError()) + ")";
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return "cannot write " + to + ": " + std::strerror(errno);
#endif
}

std::FILE* OpenToWrite(const std::string& path) {
#if defined(_WIN32)
  return _wfopen(FileSystemPath(path).c_str(), L"wb");
#else
  return std::fopen(path.c_str(), "wb");
#endif
}

void Remove(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(FileSystemPath(path), ignored);
}

}  // namespace

StagedFile::StagedFile(std::string path) : path_(std::move(path)), staging_(StagingName(path_)) {
  file_ = OpenToWrite(staging_);
  if (file_ == nullptr) Fail(errno);
}

StagedFile::~StagedFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!staging_.empty()) Remove(staging_);
}

void StagedFile::Fail(int error) {
  if (why_.empty()) why_ = "cannot write " + path_ + ": " + std::strerror(error);
}

bool StagedFile::Write(std::string_view text) {
  if (!why_.empty()) return false;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail(errno);
  return why_.empty();
}

std::string StagedFile::Commit() {
  if (file_ != nullptr && std::fclose(file_) != 0) Fail(errno);
  file_ = nullptr;
  if (!why_.empty()) return why_;
  why_ = RenameOver(staging_, path_);
  if (why_.empty()) staging_.clear();  // in place: nothing left to remove
  return why_;
}

std::string WriteStaged(const std::string& path, std::string_view text) {
  StagedFile file(path);
  file.Write(text);
  return file.Commit();
}

}  // namespace cli
