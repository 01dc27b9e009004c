// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

#include "cli_arguments.hpp"
#include "dorvan_marker/import.hpp"

namespace cli {

// Prints why the command line is wrong and returns kUsage.
int Usage(const std::string& why);

// The library options of a command line; false, with why set, when --codepage names a
// code page the program does not offer or --loader names no file.
bool OptionsOf(const Arguments& args, dorvan_marker::ImportOptions& options, std::string& why);

// A path of the command line as the file system takes it: on Windows its bytes are in the
// system's code page, as the library reads them (a double-byte character whose second
// byte is a backslash stays one character), not in the C runtime's locale.
std::filesystem::path PathOf(const std::string& text);

// Prints "dorvan-marker: message" on stderr.
void Complain(const std::string& message);

}  // namespace cli
