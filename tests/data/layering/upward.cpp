// SPDX-License-Identifier: MIT
// A file of the marker layer that reaches up to the host files: the layer check refuses it.
#include "platform/c_numbers.hpp"
#include "dorvan_marker/error.hpp"
#include "hostfiles/printf_file.hpp"
