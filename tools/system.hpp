// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

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

}  // namespace cli
