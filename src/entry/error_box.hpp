// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace dorvan_marker {

// The one message a user of the host sees: on Windows a message box with no owner, the
// caption "KOV" and the error icon, which blocks until dismissed; elsewhere the line
// "KOV: <text>" on stderr.
void ShowErrorBox(const std::string& text);

}  // namespace dorvan_marker
