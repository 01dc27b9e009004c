/* SPDX-License-Identifier: MIT */
/* The loader plug-in: a shared library that a site supplies to answer the import's
 * model-file queries from its own model data, in place of the library's .mdl loader.
 *
 * A plug-in exports one function by name, DORVAN_LOADER_ENTRY_NAME, with C linkage:
 *
 *   DORVAN_LOADER_EXPORT const dorvan_loader_table* dorvan_marker_get_loader(
 *       unsigned int abi_version, unsigned int code_page);
 *
 * and the library calls the functions of the table it returns. Plain C: no C++ type, no
 * exception and no allocation crosses the boundary. Texts are bytes in the marker's code
 * page; every buffer belongs to the side that allocated it.
 *
 * Life: an import that needs its loader (a marker that can be opened, is well formed and
 * has models) loads the plug-in, calls the entry function, creates one instance, asks its
 * queries on the calling thread one at a time, destroys the instance and unloads the
 * plug-in before it returns: nothing is kept between imports. Imports on several threads
 * at once each load, create and destroy their own instance, so whatever a plug-in shares
 * between instances (a cache, a connection, a licence) must be safe for that.
 *
 * A plug-in runs inside the host's process: the library cannot protect the host from a
 * plug-in that crashes, hangs, throws or writes where it must not.
 * docs/loader-plugin.md tells how a plug-in is found and built. */
#ifndef DORVAN_MARKER_LOADER_PLUGIN_H
#define DORVAN_MARKER_LOADER_PLUGIN_H

#include <stddef.h>

/* The version of this table; a plug-in answers only the versions it was built for. */
#define DORVAN_LOADER_ABI_VERSION 1u
/* The name of the entry function the library looks up in the plug-in. */
#define DORVAN_LOADER_ENTRY_NAME "dorvan_marker_get_loader"

/* Results of the table's queries. */
#define DORVAN_LOADER_NO 0  /* not answered: the library goes on as for a missing model file */
#define DORVAN_LOADER_YES 1 /* answered: the outputs hold the answer */
#define DORVAN_LOADER_FAILED                                          \
  (-1) /* (any negative result) the plug-in cannot answer at all: the \
           import stops, writes nothing and reports the plug-in */

/* Marks the entry function for export from the plug-in's shared library. */
#if defined(_WIN32)
#  define DORVAN_LOADER_EXPORT __declspec(dllexport)
#else
#  define DORVAN_LOADER_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One loader instance, the plug-in's own; the library only passes it back. */
typedef struct dorvan_loader dorvan_loader;

/* A text the plug-in hands out: length bytes at bytes, not necessarily zero-terminated.
 * It stays valid until the plug-in's next call on the same instance. */
typedef struct dorvan_loader_text {
  const char* bytes; /* may be null when length is 0 */
  size_t length;     /* in bytes */
} dorvan_loader_text;

/* What a plug-in serves, one function for each query of the import's loader. Every text
 * the library passes in is zero-terminated, in the marker's code page, and valid only
 * during the call: a plug-in that keeps one copies it. Every output pointer is the
 * library's, valid only during the call. No function may throw, call back into the
 * library or keep a pointer it was given. */
typedef struct dorvan_loader_table {
  unsigned int abi_version; /* DORVAN_LOADER_ABI_VERSION the table was built for */
  const char* name;         /* the plug-in's name, zero-terminated; shown by `inspect` */
  const char* version;      /* its version, zero-terminated; shown by `inspect` */
  /* Non-zero when the same query after an open of the same path always gets the same
   * answer and changes nothing but the file last opened: the import may then ask each
   * distinct rotation query once. Zero: every query the import makes reaches the plug-in. */
  int repeats_answers;

  /* A new instance for one import; null when none can be made (the import stops and
   * reports the plug-in). */
  dorvan_loader* (*create)(void);
  /* Frees the instance and everything it handed out. Called once, last. */
  void (*destroy)(dorvan_loader* loader);

  /* Opens the model file at path: the marker's folder, a model's base name and ".mdl",
   * written as the caller wrote the marker's path: in the system's code page, or in UTF-8
   * where the caller gave its paths in UTF-8 (dorvan_marker_options.path_encoding; the
   * command line on Windows always does), the base name then carried into UTF-8.
   * YES when the model can be read; the following queries are about it. NO when it
   * cannot: the import may still ask the rotation queries, and what they answer until
   * the next successful open is the plug-in's choice (the library's own loader says NO). */
  int (*open)(dorvan_loader* loader, const char* path);

  /* With a null name, the sizes of the model last opened: on YES *sizes points to *count
   * texts, the name of size code j at position j (valid until the next call). */
  int (*get_sizes)(dorvan_loader* loader, const char* name, const dorvan_loader_text** sizes, size_t* count);

  /* The name of piece number `piece` of the article that the model knows as vgfn (the
   * marker's "VGFN"): on YES *name holds it (valid until the next call). */
  int (*get_piece_name)(dorvan_loader* loader, const char* vgfn, int piece, dorvan_loader_text* name);

  /* A piece's rotation in radians and its x and y scale factors (1.0 = unscaled), the
   * piece given by its number. The library presets 0.0, 1.0 and 1.0. On NO it uses the
   * rotation 0.0 and the factors as the call leaves them, so a plug-in that does not
   * answer leaves them alone. */
  int (*get_rotation_scale_by_number)(dorvan_loader* loader, const char* vgfn, int piece, double* rotation,
                                      double* x_factor, double* y_factor);

  /* The same, the piece given by its key in the marker ("IART"). */
  int (*get_rotation_scale_by_key)(dorvan_loader* loader, const char* vgfn, const char* iart, double* rotation,
                                   double* x_factor, double* y_factor);
} dorvan_loader_table;

/* The entry function. abi_version: DORVAN_LOADER_ABI_VERSION of the library. code_page:
 * the Windows number of the code page of the marker's names (65001 for UTF-8, 932, 936,
 * 949, 950, 1252, ...; 0 for a single-byte one known by no number). Returns a table that
 * stays valid until the plug-in is unloaded, or null when the plug-in cannot serve that
 * version or code page. Called once for each import. */
typedef const dorvan_loader_table* (*dorvan_loader_entry)(unsigned int abi_version, unsigned int code_page);

#ifdef __cplusplus
}
#endif

#endif
