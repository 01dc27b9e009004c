// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

#include "cli_arguments.hpp"
#include "dorvan_marker/import.hpp"
#include "dorvan_marker/json.hpp"

namespace cli {

// Prints why the command line is wrong and returns kUsage.
int Usage(const std::string& why);

// The library options of a command line; false, with why set, when --codepage names a
// code page the program does not offer or --loader names no file.
bool OptionsOf(const Arguments& args, dorvan_marker::ImportOptions& options, std::string& why);

// Millimetres with up to three decimals, as whole micrometres; false for anything else.
bool ReadMillimetres(const std::string& text, std::int64_t& um);
// A number of plies, 1 to the most a plan takes; false for anything else.
bool ReadPlies(const std::string& text, int& plies);
// --end-allowance MM, in micrometres (0 when not given); false, with why set, when malformed.
bool EndAllowanceOf(const Arguments& args, std::int64_t& um, std::string& why);
// --plies N and --end-allowance MM (1 and 0 when not given); false, with why set, when malformed.
bool CuttingOf(const Arguments& args, dorvan_marker::Cutting& cutting, std::string& why);

// The bytes of the file at path (a path of the command line); false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text);

// How the program's paths are written: on Windows it reads its command line in UTF-16 and
// carries it in UTF-8, so any name Windows allows can be given; elsewhere paths are bytes.
#if defined(_WIN32)
constexpr dorvan_marker::PathEncoding kPaths = dorvan_marker::PathEncoding::Utf8;
#else
constexpr dorvan_marker::PathEncoding kPaths = dorvan_marker::PathEncoding::System;
#endif

// A path of the command line as the standard library names files, and back.
std::filesystem::path FileSystemPath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

// Prints "dorvan-marker: message" on stderr.
void Complain(const std::string& message);

}  // namespace cli
