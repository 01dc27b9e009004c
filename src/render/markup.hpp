// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace dorvan_marker {

// A marker's bytes (in the code page code_page names) as text of XML and HTML, content and
// double-quoted attribute values alike: carried as the JSON documents carry them, markup
// characters turned into references so that a name is only ever text, and the control
// characters XML 1.0 cannot hold (all but the tab) dropped.
std::string Markup(std::string_view bytes, const std::string& code_page);

}  // namespace dorvan_marker
