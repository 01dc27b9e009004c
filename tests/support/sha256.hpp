// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace test {

// The SHA-256 digest of bytes as 64 lower-case hex digits, as sha256sum prints it.
std::string Sha256Hex(std::string_view bytes);

}  // namespace test
