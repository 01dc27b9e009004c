// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace dorvan_marker {

// Numbers as the documents and pictures write them, whatever the locale.

// Appends the shortest form of value that reads back as the same double ("2340", "0.1",
// "1e+21"). value must be finite: each format says what stands for one that is not.
void AppendShortest(std::string& out, double value);

// value with `decimals` digits after a point ("1050.0"), finite or not, as large as it may
// be; decimals up to 60.
std::string FixedText(double value, int decimals);

// Appends FixedText(value, 1), byte for byte but for a negative zero ("0.0"), by a quicker
// way for most values: a report of a large marker writes several such numbers a placement.
void AppendOneDecimal(std::string& out, double value);

}  // namespace dorvan_marker
