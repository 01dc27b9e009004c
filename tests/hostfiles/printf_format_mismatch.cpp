// SPDX-License-Identifier: MIT
// Formats that do not fit their arguments: compiled with -DMISMATCH=1 to 3 by a test that
// expects the compiler to refuse each one and name why.
#include "hostfiles/printf_file.hpp"

void Write(dorvan_marker::CPrintfFile& file) {
#if MISMATCH == 1
  file.Printf("q:%d\n", 1.5);
#elif MISMATCH == 2
  file.Printf("m:%s%s\n", "JACKET");
#elif MISMATCH == 3
  const dorvan_marker::PrintfFormat<int> quantity("q:%d\n");
  file.Printf(quantity, 1.5);
#endif
}
