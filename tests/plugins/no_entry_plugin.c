/* SPDX-License-Identifier: MIT */
/* A shared library that is no loader plug-in: it loads, but lacks the entry function. */
#include "dorvan_marker/loader_plugin.h"

DORVAN_LOADER_EXPORT int dorvan_marker_get_loader_v2(void) { return 2; }
