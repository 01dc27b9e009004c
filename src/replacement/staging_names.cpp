// SPDX-License-Identifier: MIT
#include "replacement/staging_names.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>

#include "platform/code_page.hpp"
#include "platform/file_names.hpp"
#include "platform/native_path.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kTokenDigits = 16;
constexpr std::string_view kNewSuffix = ".dorvan-new";
constexpr std::string_view kOldSuffix = ".dorvan-old";
static_assert(kNewSuffix.size() == kOldSuffix.size());

std::uint64_t Mix(std::uint64_t x) {  // splitmix64's finaliser
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
  return x ^ (x >> 31);
}

// Differs between processes: the system's random numbers where it has them, and the
// clock and an address either way.
std::uint64_t ProcessSeed() {
  std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  seed ^= Mix(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  seed ^= Mix(reinterpret_cast<std::uintptr_t>(&seed));
  try {
    std::random_device device;
    seed ^= Mix((static_cast<std::uint64_t>(device()) << 32) | device());
  } catch (...) {
    // a system without random numbers: the clock and the address stay
  }
  return seed;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

}  // namespace

HostFilePlace PlaceOf(const std::string& path, PathEncoding paths) {
  const std::size_t start = FileNameStart(path, PathCodePage(paths, CodePage::System()), FileNameRules::Native());
  return {path.substr(0, start), path.substr(start)};
}

std::string UniqueToken() {
  static const std::uint64_t seed = ProcessSeed();
  static std::atomic<std::uint64_t> count{0};
  std::uint64_t value = Mix(seed + 0x9e3779b97f4a7c15u * ++count);
  std::string token(kTokenDigits, '0');
  for (std::size_t i = kTokenDigits; i-- > 0; value >>= 4) token[i] = "0123456789abcdef"[value & 15];
  return token;
}

std::string NewFileName(const std::string& host_file, std::string_view token) {
  return host_file + "." + std::string(token) + std::string(kNewSuffix);
}

std::string OldFileName(const std::string& host_file, std::string_view token) {
  return host_file + "." + std::string(token) + std::string(kOldSuffix);
}

bool IsStagingName(std::string_view entry, std::string_view name) {
  const std::size_t size = name.size() + 1 + kTokenDigits + kNewSuffix.size();
  if (entry.size() != size || entry.substr(0, name.size()) != name || entry[name.size()] != '.') return false;
  const std::string_view token = entry.substr(name.size() + 1, kTokenDigits);
  const std::string_view suffix = entry.substr(size - kNewSuffix.size());
  return std::all_of(token.begin(), token.end(), IsHexDigit) && (suffix == kNewSuffix || suffix == kOldSuffix);
}

}  // namespace dorvan_marker
