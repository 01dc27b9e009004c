/* SPDX-License-Identifier: MIT */
/* The C face of the dorvan_marker library: for hosts built with any compiler, and for any
 * language that can call C (Python's ctypes, for one: python/dorvan_marker.py).
 *
 * Plain C89: no C++ type crosses it, and no memory changes hands. Every text goes into a
 * buffer the caller owns, with its size; a function that hands out a list or a document
 * tells how many bytes it needs when they do not fit, so a caller can ask twice.
 *
 * Every function runs synchronously on the caller's thread, keeps nothing between calls,
 * may be called from several threads at once, lets no exception out and never shows a box:
 * every failure is a result code, and where the caller gives a message buffer, a message.
 * Names are bytes in the marker's code page (options->code_page), as are the messages that
 * quote them; paths are in the system's code page, or UTF-8 (options->path_encoding). On
 * Windows the marker is opened with no sharing, as ImportDorvanFile opens it.
 *
 * Message buffers: message may be null (no message wanted); otherwise message_size must
 * be at least 1. The message is written with its NUL, cut at a character boundary to
 * message_size - 1 bytes; it is empty when the call succeeded. */
#ifndef DORVAN_MARKER_DORVAN_MARKER_C_H
#define DORVAN_MARKER_DORVAN_MARKER_C_H

#include <stddef.h>

#include "dorvan_marker/export.h"

/* The calling convention of the C face: the C one, whatever a host's compiler defaults to.
 * The Windows DLLs export the functions by their plain names. */
#if defined(_WIN32)
#  define DORVAN_MARKER_CALL __cdecl
#else
#  define DORVAN_MARKER_CALL
#endif

/* Results. The first six are those of ImportDorvanFile. */
#define DORVAN_MARKER_OK 1                  /* done */
#define DORVAN_MARKER_CANNOT_OPEN 0         /* the marker file cannot be opened or read */
#define DORVAN_MARKER_NO_MODELS (-1)        /* the marker holds no models (style names: no "VMDL" records) */
#define DORVAN_MARKER_MALFORMED (-2)        /* the marker is structurally broken; the message says where */
#define DORVAN_MARKER_CANNOT_WRITE (-3)     /* the host files cannot be created, written or put in place */
#define DORVAN_MARKER_LOADER_UNUSABLE (-4)  /* the loader plug-in cannot serve; the message names it */
#define DORVAN_MARKER_BUFFER_TOO_SMALL (-5) /* the text does not fit: *needed says how many bytes it takes */
#define DORVAN_MARKER_BAD_CALL (-6)         /* refused before any work: a null pointer, a buffer of no bytes, ... */
#define DORVAN_MARKER_OUT_OF_MEMORY (-7)    /* the memory ran out; the marker may be fine, nothing was written */
#define DORVAN_MARKER_BAD_ORDER (-8)        /* dorvan_marker_plan: the order is refused; the message names its line */
#define DORVAN_MARKER_ORDER_UNMET (-9)      /* dorvan_marker_plan: no plan meets it; the message names the sizes */
#define DORVAN_MARKER_PLAN_GAVE_UP (-10)    /* dorvan_marker_plan: the search stopped at its step limit */

/* How the paths of a call are written (options->path_encoding). */
#define DORVAN_MARKER_PATHS_SYSTEM 0 /* the system's code page, as ImportDorvanFile takes them */
#define DORVAN_MARKER_PATHS_UTF8 1   /* UTF-8: on Windows each file is opened by its UTF-16 name */

/* A name buffer of this size holds every marker's name with its NUL. */
#define DORVAN_MARKER_NAME_SIZE 256

/* The choices of a call. A null options pointer stands for all the defaults. Set size to
 * sizeof (dorvan_marker_options): later versions add members at the end only, and each
 * version reads only the members that both it and the caller's size know; a size below
 * this first version's is a bad call.
 *
 * code_page: the code page of the marker's names, "1252", "932", "936", "949", "950" or
 * "utf-8" (the names ImportOptions takes, letter case aside, "cp" before a number and
 * "utf8" allowed); null or "" for the system's ANSI code page. Any other name is a bad
 * call, whose message names the accepted ones.
 * loader: the file of a loader plug-in (dorvan_marker/loader_plugin.h) that answers the
 * model-file queries; null or "" for the one the environment variable DORVAN_MARKER_LOADER
 * names, else the library's own loader.
 * path_encoding: how marker_path, out_dir and loader are written. DORVAN_MARKER_PATHS_SYSTEM
 * (and a caller whose size ends before this member): in the system's code page, which on
 * Windows holds only some names. DORVAN_MARKER_PATHS_UTF8: in UTF-8, and on Windows every
 * file (the marker, its model files, the host files and what the import stages beside
 * them) is opened by its UTF-16 name, so that any name Windows allows works; a path that
 * is not valid UTF-8 names no file. The model files' names come from the marker, in its
 * code page: they are carried into UTF-8 to join the marker's folder. Elsewhere paths are
 * bytes and both values read them alike. Any other value is a bad call. */
typedef struct dorvan_marker_options {
  size_t size;           /* sizeof (dorvan_marker_options) as the caller was compiled with */
  const char* code_page; /* the names' code page; null or "" for the system's */
  const char* loader;    /* the loader plug-in's file; null or "" for none given */
  int path_encoding;     /* DORVAN_MARKER_PATHS_SYSTEM or DORVAN_MARKER_PATHS_UTF8 */
} dorvan_marker_options;

/* The choices of a plan. A null pointer stands for the defaults. size as in
 * dorvan_marker_options.
 * max_plies: the most plies of each marker, 1 to 10000; 0 for the default, 100.
 * end_allowance_mm: the fabric lost at the two ends of each ply, 0 to 1e9 mm, taken to
 * whole micrometres. */
typedef struct dorvan_marker_plan_options {
  size_t size;             /* sizeof (dorvan_marker_plan_options) as the caller was compiled with */
  int max_plies;           /* the most plies of a marker; 0 for 100 */
  double end_allowance_mm; /* fabric lost at the ends of each ply */
} dorvan_marker_plan_options;

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the library's version, "MAJOR.MINOR.PATCH", and its NUL into text (size bytes).
 * Sets *needed (when needed is not null) to the bytes it takes, its NUL included.
 * Returns DORVAN_MARKER_OK, DORVAN_MARKER_BUFFER_TOO_SMALL (text untouched; a null text
 * with size 0 only asks the size), or DORVAN_MARKER_BAD_CALL for a null text with a
 * non-zero size. */
DORVAN_MARKER_C_API int DORVAN_MARKER_CALL dorvan_marker_version(char* text, size_t size, size_t* needed);

/* Writes the model names of the marker at marker_path into names (size bytes), in the order
 * and by the rules of GetStyleList with an empty list: every distinct "VNMD" of the "VMDL"
 * records, in order of first appearance, each followed by a NUL. A name may be empty, so
 * *count tells how many there are; *needed the bytes they take. Both are set (when not
 * null) on DORVAN_MARKER_OK and DORVAN_MARKER_BUFFER_TOO_SMALL, and are 0 otherwise.
 *
 * Returns DORVAN_MARKER_OK; DORVAN_MARKER_BUFFER_TOO_SMALL when the names do not fit (names
 * untouched; a null names with size 0 only asks the size); DORVAN_MARKER_CANNOT_OPEN,
 * DORVAN_MARKER_NO_MODELS (readable, no "VMDL" records: GetStyleList's false),
 * DORVAN_MARKER_MALFORMED, DORVAN_MARKER_OUT_OF_MEMORY; or DORVAN_MARKER_BAD_CALL (a null marker_path, a null names
 * with a non-zero size, bad options). Never loads a loader plug-in. */
DORVAN_MARKER_C_API int DORVAN_MARKER_CALL dorvan_marker_style_names(const char* marker_path,
                                                                     const dorvan_marker_options* options, char* names,
                                                                     size_t size, size_t* needed, size_t* count,
                                                                     char* message, size_t message_size);

/* Imports the marker at marker_path into out_dir/csvimprt.txt and out_dir/posimport.txt, as
 * ImportDorvanFile imports into its fixed folder, with no error box: the two files are
 * replaced together or not at all, and imports into one folder at once replace them one
 * at a time. out_dir must exist; the import creates no folder.
 *
 * On DORVAN_MARKER_OK name receives the marker's name and its NUL (at most 255 bytes and
 * the NUL, as ImportDorvanFile gives it); on any other result it is untouched. name may be
 * null; otherwise name_size must be at least DORVAN_MARKER_NAME_SIZE. The message is the
 * error box's words, whole: for DORVAN_MARKER_NO_MODELS naming the marker's path where
 * ImportDorvanFile names the caller's text, for DORVAN_MARKER_LOADER_UNUSABLE naming the
 * plug-in and why; else what the command line prints: file, line, section, record, field.
 *
 * Returns the results of ImportDorvanFile (DORVAN_MARKER_OK to DORVAN_MARKER_LOADER_UNUSABLE),
 * DORVAN_MARKER_OUT_OF_MEMORY (the files are as they were), or DORVAN_MARKER_BAD_CALL, before anything is read, for a
 * null marker_path or out_dir, a name buffer too small, or bad options. The loader plug-in is options->loader, else the
 * file DORVAN_MARKER_LOADER names, else none; it is loaded only for a readable marker with
 * models, and unloaded before the call returns. */
DORVAN_MARKER_C_API int DORVAN_MARKER_CALL dorvan_marker_import(const char* marker_path, const char* out_dir,
                                                                const dorvan_marker_options* options, char* name,
                                                                size_t name_size, char* message, size_t message_size);

/* Writes into json (size bytes) the report of the marker at marker_path as
 * `dorvan-marker inspect --json` prints it for that one marker, byte for byte, and its NUL:
 * a UTF-8 document in the shape of docs/schema/inspect-v1.json. Reads the marker and its
 * model files as dorvan_marker_import would, and writes nothing. Sets *needed (when not
 * null) to the bytes the document takes, its NUL included.
 *
 * Returns, once the document is written, how far the marker was read, as an import's
 * result: DORVAN_MARKER_OK (placements that reach neither host file are errors in the
 * document, not in the result), DORVAN_MARKER_CANNOT_OPEN, DORVAN_MARKER_NO_MODELS,
 * DORVAN_MARKER_MALFORMED, DORVAN_MARKER_LOADER_UNUSABLE or DORVAN_MARKER_OUT_OF_MEMORY; the
 * document says why. Else
 * DORVAN_MARKER_BUFFER_TOO_SMALL (json untouched; a null json with size 0 only asks the
 * size) or DORVAN_MARKER_BAD_CALL (a null marker_path, a null json with a non-zero size, bad
 * options). */
DORVAN_MARKER_C_API int DORVAN_MARKER_CALL dorvan_marker_inspect_json(const char* marker_path,
                                                                      const dorvan_marker_options* options, char* json,
                                                                      size_t size, size_t* needed, char* message,
                                                                      size_t message_size);

/* Writes into text (size bytes) the markers at marker_paths[0] .. marker_paths[path_count - 1]
 * rendered as kind names, byte for byte what the command line writes for them, and its NUL:
 *   "text"  what `dorvan-marker inspect` prints: each marker's report for a person, in the
 *           marker's code page, and after several markers the summary table;
 *   "json"  what `inspect --json` prints, one UTF-8 document for all of them;
 *   "csv"   what `inspect --csv` prints, a row per marker, in the marker's code page;
 *   "svg"   the picture `render` writes, of exactly one marker, UTF-8;
 *   "html"  the printable page per marker that `report` writes, UTF-8, laid out for the
 *           paper named "a4" or "letter" (null for "a4"; only "html" takes a paper).
 * Reads the markers and their model files as dorvan_marker_import would, and writes nothing
 * else. Sets *needed (when not null) to the bytes the text takes, its NUL included.
 *
 * Returns, once the text is written, DORVAN_MARKER_OK when every marker was read to the
 * end, else how far the first one that was not got, as an import's result
 * (DORVAN_MARKER_CANNOT_OPEN, DORVAN_MARKER_NO_MODELS, DORVAN_MARKER_MALFORMED or
 * DORVAN_MARKER_LOADER_UNUSABLE), with its errors as the message: the text says why too,
 * except a picture, which is not drawn (*needed is then 0 and text untouched). Else
 * DORVAN_MARKER_BUFFER_TOO_SMALL (text untouched; a null text with size 0 only asks the
 * size) or DORVAN_MARKER_BAD_CALL (a null marker_paths, a null path, a path_count of 0, a
 * kind or paper not named above, a picture of more than one marker, a null text with a
 * non-zero size, bad options). */
DORVAN_MARKER_C_API int DORVAN_MARKER_CALL dorvan_marker_render(const char* const* marker_paths, size_t path_count,
                                                                const char* kind, const char* paper,
                                                                const dorvan_marker_options* options, char* text,
                                                                size_t size, size_t* needed, char* message,
                                                                size_t message_size);

/* Plans an order over the marker_count markers of marker_paths (1 to 12) and writes the
 * plan into json (size bytes), as `dorvan-marker plan --json` prints it, and its NUL: a
 * UTF-8 document in the shape of docs/schema/plan-v1.json. order is the text of an order
 * file: the header "size,quantity", then one row per size. Each marker is read as
 * dorvan_marker_inspect_json reads it; nothing is written. The plan cuts at least the
 * quantity of every size with the least fabric, then the fewest garments beyond the
 * order: no plan within max_plies is better. Sets *needed (when not null) to the bytes the
 * document takes, its NUL included.
 *
 * Returns DORVAN_MARKER_OK; DORVAN_MARKER_BUFFER_TOO_SMALL (json untouched; a null json
 * with size 0 only asks the size); DORVAN_MARKER_BAD_ORDER (a row names a size no marker
 * cuts, a quantity that is not a whole number >= 0, or a size twice: the message names the
 * line); DORVAN_MARKER_ORDER_UNMET (the message names the sizes that fall short);
 * DORVAN_MARKER_PLAN_GAVE_UP; for a marker that cannot be read, its result as
 * dorvan_marker_inspect_json gives it (the message names it and says why); or
 * DORVAN_MARKER_BAD_CALL (a null pointer, no markers or more than 12, a null json with a
 * non-zero size, bad options). */
DORVAN_MARKER_C_API int DORVAN_MARKER_CALL dorvan_marker_plan(const char* const* marker_paths, size_t marker_count,
                                                              const char* order, const dorvan_marker_options* options,
                                                              const dorvan_marker_plan_options* plan_options,
                                                              char* json, size_t size, size_t* needed, char* message,
                                                              size_t message_size);

#ifdef __cplusplus
}
#endif

#endif
