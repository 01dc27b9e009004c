// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

// What the command line asks of the operating system: the one file that knows Windows.

// The machine's processor cores; at least 1.
std::size_t MachineCores();

// Whether stderr is a terminal that a line can be redrawn on in place with escape
// sequences (a Windows console is told here to read them).
bool ErrorIsTerminal();

// Runs work(context) on `threads` threads at once and waits for them all. Fewer run when
// the system makes fewer; none made, work runs once on the calling thread.
void RunOnThreads(std::size_t threads, void (*work)(void*), void* context);

#if defined(_WIN32)
// The arguments of the UTF-16 command line, in UTF-8: the names a user gives need not fit
// the system's code page.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);

// Paths are printed as they are carried, in UTF-8: a console shows them as such while the
// program runs, and is given back its code page when the program ends.
void ShowUtf8OnConsole();
#endif

}  // namespace cli
