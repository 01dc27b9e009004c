/* SPDX-License-Identifier: MIT */
/* A host in plain C89 that uses the C face alone, as a host of any compiler would: it asks
 * for texts with buffers of the exact size and of one byte less, imports a marker into a
 * folder and compares the host files with the expected ones byte for byte, and imports a
 * marker without models, for which the import gives -1 and shows no error box.
 *
 *   dorvan_marker_c_host MARKER NAME FOLDER EXPECTED
 *
 * MARKER is the example marker and NAME its name; FOLDER an empty folder to import into;
 * EXPECTED holds the two host files the example gives. Prints "ok - ..." or "FAIL - ..."
 * a check; the exit status is the number of failed checks. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "dorvan_marker/dorvan_marker_c.h"
#include "dorvan_marker/version.h"

#if defined(_WIN32)
#  include <windows.h>
#  define SEPARATOR "\\"
#else
#  define SEPARATOR "/"
#endif

static int failed = 0;

static void Check(int passed, const char* what) {
  printf("%s - %s\n", passed ? "ok" : "FAIL", what);
  failed += passed ? 0 : 1;
}

static int SameFiles(const char* folder, const char* expected, const char* name) {
  char path[2][1024];
  FILE* files[2];
  int a = 0, b = 0;
  sprintf(path[0], "%s" SEPARATOR "%s", folder, name);
  sprintf(path[1], "%s" SEPARATOR "%s", expected, name);
  files[0] = fopen(path[0], "rb");
  files[1] = fopen(path[1], "rb");
  while (files[0] != NULL && files[1] != NULL && a == b && a != EOF) {
    a = fgetc(files[0]);
    b = fgetc(files[1]);
  }
  if (files[0] != NULL) fclose(files[0]);
  if (files[1] != NULL) fclose(files[1]);
  return files[0] != NULL && files[1] != NULL && a == EOF && b == EOF;
}

#if defined(_WIN32)
static volatile LONG watching = 1;
static volatile LONG box_seen = 0;

/* A box would block the import until closed: closing it lets the check report it. */
static DWORD WINAPI WatchForBox(LPVOID unused) {
  HWND box;
  (void)unused;
  while (watching) {
    box = FindWindowA(NULL, "KOV");
    if (box != NULL) {
      InterlockedExchange(&box_seen, 1);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    Sleep(20);
  }
  return 0;
}
#endif

static void CheckTextSizes(const char* marker) {
  char text[64];
  char* names;
  size_t needed = 0, again = 0, count = 0;
  Check(dorvan_marker_version(NULL, 0, &needed) == DORVAN_MARKER_BUFFER_TOO_SMALL &&
            needed == sizeof DORVAN_MARKER_VERSION_STRING,
        "dorvan_marker_version tells the size it needs");
  Check(dorvan_marker_version(text, needed - 1, &again) == DORVAN_MARKER_BUFFER_TOO_SMALL && again == needed,
        "dorvan_marker_version: a buffer one byte too small gives -5 and the size needed");
  Check(
      dorvan_marker_version(text, needed, NULL) == DORVAN_MARKER_OK && strcmp(text, DORVAN_MARKER_VERSION_STRING) == 0,
      "dorvan_marker_version: a buffer of the size needed gets the headers' version");

  dorvan_marker_style_names(marker, NULL, NULL, 0, &needed, NULL, NULL, 0);
  names = (char*)malloc(needed);
  Check(names != NULL &&
            dorvan_marker_style_names(marker, NULL, names, needed - 1, &again, &count, NULL, 0) ==
                DORVAN_MARKER_BUFFER_TOO_SMALL &&
            again == needed && count == 2,
        "dorvan_marker_style_names: a buffer one byte too small gives -5, the size needed and the count");
  Check(names != NULL &&
            dorvan_marker_style_names(marker, NULL, names, needed, NULL, &count, NULL, 0) == DORVAN_MARKER_OK &&
            count == 2 && needed == 16 && memcmp(names, "JACKET\0TROUSERS\0", 16) == 0,
        "dorvan_marker_style_names: a buffer of the size needed gets JACKET and TROUSERS");
  free(names);
}

int main(int argc, char** argv) {
  char name[DORVAN_MARKER_NAME_SIZE];
  char message[1200], expected[1200], no_models[1024];
  FILE* file;
  int result;
  dorvan_marker_options options;
  if (argc != 5) return 64;
  CheckTextSizes(argv[1]);

  options.size = sizeof options;
  options.code_page = NULL;
  options.loader = NULL;
  result = dorvan_marker_import(argv[1], argv[3], &options, name, sizeof name, message, sizeof message);
  Check(result == DORVAN_MARKER_OK && strcmp(name, argv[2]) == 0 && message[0] == '\0',
        "dorvan_marker_import imports the example and hands back its name");
  Check(SameFiles(argv[3], argv[4], "csvimprt.txt") && SameFiles(argv[3], argv[4], "posimport.txt"),
        "both host files equal the expected ones byte for byte");

  sprintf(no_models, "%s" SEPARATOR "no models.txt", argv[3]);
  file = fopen(no_models, "wb");
  if (file != NULL) {
    fputs("IGEO:INUM\nVART:VEXT\nVMDL:VNMD\n3:x\n", file);
    fclose(file);
  }
  {
#if defined(_WIN32)
    HANDLE watcher = CreateThread(NULL, 0, WatchForBox, NULL, 0, NULL);
#endif
    result = dorvan_marker_import(no_models, argv[3], NULL, name, sizeof name, message, sizeof message);
#if defined(_WIN32)
    InterlockedExchange(&watching, 0);
    WaitForSingleObject(watcher, INFINITE);
    Check(!box_seen, "a marker without models shows no error box");
#endif
  }
  sprintf(expected, "%s is an invalid Dorvan marker file.  No models were found.", no_models);
  Check(result == DORVAN_MARKER_NO_MODELS && strcmp(message, expected) == 0,
        "a marker without models gives -1 and the error box's text");
  return failed;
}
