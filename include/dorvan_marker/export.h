/* SPDX-License-Identifier: MIT */
/* Export macros of the dorvan_marker library.
 *
 * DORVAN_MARKER_C_API marks the functions that a host finds by name, the two of
 * dorvan_marker.h and the C face of dorvan_marker_c.h: they are exported from the shared
 * library (and from the Windows DLL) with C linkage.
 * DORVAN_MARKER_API marks the C++ API used by the command-line program and by other
 * native callers on Linux; the Windows DLL exports nothing but the C functions. */
#ifndef DORVAN_MARKER_EXPORT_H
#define DORVAN_MARKER_EXPORT_H

#if defined(_WIN32)
#  if defined(DORVAN_MARKER_BUILDING_DLL)
#    define DORVAN_MARKER_C_API __declspec(dllexport)
#  elif defined(DORVAN_MARKER_USING_DLL)
#    define DORVAN_MARKER_C_API __declspec(dllimport)
#  else
#    define DORVAN_MARKER_C_API
#  endif
#  define DORVAN_MARKER_API
#else
#  define DORVAN_MARKER_C_API __attribute__((visibility("default")))
#  define DORVAN_MARKER_API __attribute__((visibility("default")))
#endif

#endif
