/* SPDX-License-Identifier: MIT */
/* The two functions a host application finds by name in the dorvan_marker library.
 *
 * Both run synchronously on the caller's thread and keep nothing between calls. Both may
 * be called from several threads at once.
 * Neither lets an exception out: every failure is a result code.
 * On Windows both open the marker with no sharing: while another program has it open,
 * they fail at once as for a file that cannot be opened (no retry), and no other program
 * can open it while it is read.
 * Host and library share std::vector<std::string> through GetStyleList, so both must be
 * built with the same compiler and standard library. */
#ifndef DORVAN_MARKER_DORVAN_MARKER_H
#define DORVAN_MARKER_DORVAN_MARKER_H

#include "dorvan_marker/dorvan_marker_c.h"
#include "dorvan_marker/export.h"

/* Results of ImportDorvanFile: the first six results of the C face, under their 1.0 names. */
#define DORVAN_IMPORT_OK DORVAN_MARKER_OK                   /* host files written, marker name copied back */
#define DORVAN_IMPORT_CANNOT_OPEN DORVAN_MARKER_CANNOT_OPEN /* the marker file cannot be opened (or path is null) */
#define DORVAN_IMPORT_NO_MODELS DORVAN_MARKER_NO_MODELS     /* no models: the error box was shown and dismissed */
#define DORVAN_IMPORT_MALFORMED DORVAN_MARKER_MALFORMED     /* the marker is structurally broken; nothing written */
#define DORVAN_IMPORT_CANNOT_WRITE \
  DORVAN_MARKER_CANNOT_WRITE /* the host files cannot be created, written or replaced */
#define DORVAN_IMPORT_LOADER_UNUSABLE                                                \
  DORVAN_MARKER_LOADER_UNUSABLE /* the site's loader plug-in cannot serve: the error \
          box named it; nothing written */

#ifdef __cplusplus
#  include <string>
#  include <vector>

/* Appends to *styles every distinct model name ("VNMD" of the "VMDL" records) that the
 * marker at path holds and that *styles does not hold yet, in order of first appearance.
 * Returns true when the marker was read and has at least one "VMDL" record. Returns
 * false, leaving *styles unchanged, when the file cannot be opened, has no "VMDL"
 * records, is malformed, or an argument is null. */
extern "C" DORVAN_MARKER_C_API bool GetStyleList(const char* path, std::vector<std::string>* styles);

extern "C" {
#endif

/* Imports the marker at path (a zero-terminated full path) into the two host files
 * c:\userroot\temp\csvimprt.txt and c:\userroot\temp\posimport.txt (on other systems
 * /userroot/temp/csvimprt.txt and /userroot/temp/posimport.txt).
 *
 * name is read and written: on entry it holds the caller's text for the error box; on
 * DORVAN_IMPORT_OK it receives the marker's name, at most 255 characters and a zero, so it
 * must hold 256 bytes. On every other result it is unchanged. A null name is taken as an
 * empty text and nothing is copied back.
 *
 * The two host files are replaced together or not at all: on any result but
 * DORVAN_IMPORT_OK they are exactly as they were before the call. Imports running at once,
 * in threads or processes, replace the pair one at a time, so it always comes from one of
 * them; an import that waits more than 10 s for another, or finds a host file read-only or
 * held open by another program for more than 2 s, gives DORVAN_IMPORT_CANNOT_WRITE.
 *
 * The model files are read by the library's own loader, or by a loader plug-in
 * (dorvan_marker/loader_plugin.h): the file that the environment variable
 * DORVAN_MARKER_LOADER names, else on Windows dorvan_marker_loader.dll beside this DLL.
 * It is loaded once the marker is read and has models (a marker that cannot be opened,
 * cannot be read as records or has no models gives 0, -2 or -1 whatever the plug-in),
 * and unloaded before the call returns. A plug-in that
 * cannot serve shows the error box naming it and gives DORVAN_IMPORT_LOADER_UNUSABLE.
 * When the memory runs out, the error box says so ("out of memory while reading PATH") and
 * the result is DORVAN_IMPORT_CANNOT_WRITE: the host files are as they were, and the
 * marker is not blamed. Hosts take any other negative result as a failure too. */
DORVAN_MARKER_C_API int ImportDorvanFile(const char* path, char* name);

#ifdef __cplusplus
}
#endif

#endif
