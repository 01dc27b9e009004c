/* SPDX-License-Identifier: MIT */
/* A host in plain C89 on the C face alone: the model names asked for with a buffer one byte
 * too small and then of the size needed, the example imported into FOLDER (the caller
 * compares the host files), and a marker without models: -1, its message and no box.
 * With --utf-8 every path goes to the library in UTF-8 (on Windows read from the UTF-16
 * command line), so that names outside the system's code page work.
 *   dorvan_marker_c_host MARKER NAME FOLDER [--utf-8]
 * The example's picture is asked for with no buffer, then with one of the size needed, and
 * written to FOLDER/example.svg (the caller compares it with the command line's).
 * Prints "ok - ..." or "FAIL - ..." a check; exits with the number of failed checks. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "dorvan_marker/dorvan_marker_c.h"

static dorvan_marker_options options = {sizeof(dorvan_marker_options), NULL, NULL, DORVAN_MARKER_PATHS_SYSTEM};

#if defined(_WIN32)
#  include <windows.h>
/* After windows.h, which it needs. */
#  include <shellapi.h>
#  define SEPARATOR "\\"

/* The command line in UTF-8, from its UTF-16 form. */
static char** Utf8Arguments(void) {
  int count = 0, i, length;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  char** utf8 = (char**)calloc((size_t)count + 1, sizeof *utf8);
  for (i = 0; i < count; ++i) {
    length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, NULL, 0, NULL, NULL);
    utf8[i] = (char*)calloc((size_t)length + 1, 1);
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8[i], length, NULL, NULL);
  }
  return utf8;
}

static FILE* OpenToWrite(const char* path) {
  wchar_t wide[1024];
  if (options.path_encoding != DORVAN_MARKER_PATHS_UTF8) return fopen(path, "wb");
  return MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, 1024) > 0 ? _wfopen(wide, L"wb") : NULL;
}

static void Remove(const char* path) {
  wchar_t wide[1024];
  if (options.path_encoding != DORVAN_MARKER_PATHS_UTF8)
    remove(path);
  else if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, 1024) > 0)
    _wremove(wide);
}

static volatile LONG watching = 1, box_seen = 0;

/* A box would block the import until closed: closing it lets the check report it. */
static DWORD WINAPI WatchForBox(LPVOID unused) {
  HWND box;
  for ((void)unused; watching; Sleep(20)) {
    if ((box = FindWindowA(NULL, "KOV")) != NULL) {
      InterlockedExchange(&box_seen, 1);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return 0;
}
#else
#  define SEPARATOR "/"
#  define Utf8Arguments() argv
#  define OpenToWrite(path) fopen(path, "wb")
#  define Remove(path) remove(path)
#endif

static int failed = 0;

static void Check(int passed, const char* what) {
  printf("%s - %s\n", passed ? "ok" : "FAIL", what);
  failed += passed ? 0 : 1;
}

int main(int argc, char** argv) {
  char names[16], name[DORVAN_MARKER_NAME_SIZE], message[1200], expected[1200], no_models[1024], json[2048], *text,
      plan[4096];
  const char* paths[2];
  const char* markers[1];
  size_t needed = 0, count = 0, asked = 0;
  FILE* file;
  int result;
  if (argc == 5 && strcmp(argv[4], "--utf-8") == 0) {
    options.path_encoding = DORVAN_MARKER_PATHS_UTF8;
    argv = Utf8Arguments();
  } else if (argc != 4) {
    return 64;
  }
  Check(dorvan_marker_style_names(argv[1], &options, names, 15, &needed, &count, NULL, 0) ==
                DORVAN_MARKER_BUFFER_TOO_SMALL &&
            needed == 16 && count == 2,
        "a buffer one byte too small for the model names gives -5, the size needed and the count");
  Check(dorvan_marker_style_names(argv[1], &options, names, needed, NULL, NULL, NULL, 0) == DORVAN_MARKER_OK &&
            memcmp(names, "JACKET\0TROUSERS\0", 16) == 0,
        "a buffer of the size needed gets JACKET and TROUSERS");
  result = dorvan_marker_import(argv[1], argv[3], &options, name, sizeof name, message, sizeof message);
  Check(result == DORVAN_MARKER_OK && strcmp(name, argv[2]) == 0, "the example imports and gives its name");

  markers[0] = argv[1];
  Check(dorvan_marker_plan(markers, 1, "size,quantity\n38,10\n42,7\n", &options, NULL, NULL, 0, &asked, NULL, 0) ==
                DORVAN_MARKER_BUFFER_TOO_SMALL &&
            asked < sizeof plan &&
            dorvan_marker_plan(markers, 1, "size,quantity\n38,10\n42,7\n", &options, NULL, plan, asked - 1, &needed,
                               message, sizeof message) == DORVAN_MARKER_BUFFER_TOO_SMALL &&
            needed == asked &&
            dorvan_marker_plan(markers, 1, "size,quantity\n38,10\n42,7\n", &options, NULL, plan, asked, NULL, NULL,
                               0) == DORVAN_MARKER_OK &&
            strlen(plan) + 1 == asked && strstr(plan, "\"plies\": 10,") != NULL,
        "a plan asked twice: the size it takes, one byte too few, then ten plies of the example");
  Check(dorvan_marker_plan(markers, 1, "size,quantity\n38,10\n38,1\n", &options, NULL, plan, sizeof plan, NULL, message,
                           sizeof message) == DORVAN_MARKER_BAD_ORDER &&
            strcmp(message, "order:3: size \"38\" is ordered on line 2 already") == 0,
        "an order naming a size twice gives -8 and its line");

  sprintf(no_models, "%s" SEPARATOR "no models.txt", argv[3]);
  if ((file = OpenToWrite(no_models)) != NULL) fputs("IGEO:INUM\nVART:VEXT\nVMDL:VNMD\n3:x\n", file), fclose(file);
  {
#if defined(_WIN32)
    HANDLE watcher = CreateThread(NULL, 0, WatchForBox, NULL, 0, NULL);
#endif
    result = dorvan_marker_import(no_models, argv[3], &options, name, sizeof name, message, sizeof message);
#if defined(_WIN32)
    InterlockedExchange(&watching, 0);
    WaitForSingleObject(watcher, INFINITE);
    Check(!box_seen, "a marker without models shows no error box");
#endif
  }
  sprintf(expected, "%s is an invalid Dorvan marker file.  No models were found.", no_models);
  Check(result == DORVAN_MARKER_NO_MODELS && strcmp(message, expected) == 0,
        "a marker without models gives -1 and the error box's text");
#if defined(_WIN32)
  { /* Held open by another program, the marker cannot be read, and the message says so. */
    wchar_t wide[1024];
    HANDLE held = INVALID_HANDLE_VALUE;
    if (MultiByteToWideChar(options.path_encoding == DORVAN_MARKER_PATHS_UTF8 ? CP_UTF8 : CP_ACP, 0, no_models, -1,
                            wide, 1024) > 0) {
      held = CreateFileW(wide, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    }
    result = dorvan_marker_import(no_models, argv[3], &options, name, sizeof name, message, sizeof message);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    sprintf(expected, "cannot open %s: held by another program", no_models);
    Check(held != INVALID_HANDLE_VALUE && result == DORVAN_MARKER_CANNOT_OPEN && strcmp(message, expected) == 0,
          "a marker another program holds open gives 0 and says so");
  }
#endif
  Remove(no_models);

  needed = 0;
  Check(dorvan_marker_version(NULL, 0, &needed) == DORVAN_MARKER_BUFFER_TOO_SMALL && needed > 1 && needed < 16 &&
            dorvan_marker_version(names, needed, NULL) == DORVAN_MARKER_OK && strlen(names) + 1 == needed,
        "a null buffer of size 0 asks the version's size, which then fits it");
  Check(dorvan_marker_version(NULL, 16, NULL) == DORVAN_MARKER_BAD_CALL, "a null buffer of 16 bytes is refused");
  Check(dorvan_marker_inspect_json(no_models, NULL, json, sizeof json, &needed, message, sizeof message) ==
                DORVAN_MARKER_CANNOT_OPEN &&
            strstr(json, "\"status\": \"cannot-open\"") != NULL && strlen(json) + 1 == needed,
        "the report of a missing marker says cannot-open, in its result and its document");

  paths[0] = paths[1] = argv[1];
  Check(dorvan_marker_render(paths, 1, "svg", NULL, &options, NULL, 0, &needed, NULL, 0) ==
                DORVAN_MARKER_BUFFER_TOO_SMALL &&
            needed > 1,
        "a picture asked for with no buffer gives -5 and the size needed");
  text = (char*)malloc(needed);
  result = dorvan_marker_render(paths, 1, "svg", NULL, &options, text, needed, NULL, message, sizeof message);
  Check(result == DORVAN_MARKER_OK && text != NULL && text[needed - 1] == '\0' && strlen(text) == needed - 1,
        "a buffer of the size needed gets the picture and its NUL");
  sprintf(no_models, "%s" SEPARATOR "example.svg", argv[3]);
  if (result == DORVAN_MARKER_OK && (file = fopen(no_models, "wb")) != NULL) fputs(text, file), fclose(file);
  free(text);
  Check(dorvan_marker_render(paths, 2, "svg", NULL, &options, NULL, 0, &needed, message, sizeof message) ==
                DORVAN_MARKER_BAD_CALL &&
            strcmp(message, "dorvan_marker_render: a picture is of one marker, not 2") == 0 && needed == 0,
        "a picture of two markers is refused");
  return failed;
}
