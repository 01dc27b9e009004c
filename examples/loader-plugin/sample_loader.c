/* SPDX-License-Identifier: MIT */
/* A loader plug-in in plain C: model data from tab-separated files instead of .mdl files.
 *
 * For the model file at "<folder>/<model>.mdl" it reads "<folder>/<model>.tsv", one line a
 * size or a piece, fields separated by one tab:
 *
 *   size   NAME                                       the size of code j on the j-th size line
 *   piece  VGFN  NUMBER  KEY  NAME  ROTATION  X  Y     a piece; ROTATION in radians, X and Y
 *                                                     scale factors; empty ones mean 0 and 1
 *
 * Blank lines and lines starting with '#' are skipped; any other line makes the file
 * unreadable. Numbers are written with a point, at most 15 significant digits and no
 * exponent, and are read the same whatever the process's locale. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "dorvan_marker/loader_plugin.h"

typedef struct piece {
  const char* vgfn;
  int number;
  const char* key;
  dorvan_loader_text name;
  double rotation;
  double x_factor;
  double y_factor;
  int has_x; /* an empty factor leaves the library's 1.0 */
  int has_y;
} piece;

/* The model file last opened; its texts point into `text`. */
struct dorvan_loader {
  char* text;
  dorvan_loader_text* sizes;
  size_t size_count;
  piece* pieces;
  size_t piece_count;
};

static void forget_model(dorvan_loader* loader) {
  free(loader->text);
  free(loader->sizes);
  free(loader->pieces);
  memset(loader, 0, sizeof *loader);
}

/* A number as the .mdl loader reads it: correctly rounded, since both the digits and the
 * power of ten are exact doubles and one division rounds once. 0 when it is not one. */
static int read_number(const char* text, double* value) {
  static const double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = text;
  const int negative = *p == '-';
  unsigned long long digits = 0;
  int significant = 0, decimals = 0, seen = 0, point = 0;
  if (*p == '-' || *p == '+') ++p;
  for (; *p != '\0'; ++p) {
    if (*p == '.' && !point) {
      point = 1;
      continue;
    }
    if (*p < '0' || *p > '9') return 0;
    seen = 1;
    if (digits != 0 || *p != '0') ++significant;
    if (significant > 15) return 0;
    digits = digits * 10 + (unsigned long long)(*p - '0');
    decimals += point;
  }
  if (!seen || decimals > 22) return 0;
  *value = (double)digits / powers[decimals];
  if (negative) *value = -*value;
  return 1;
}

static int read_integer(const char* text, int* value) {
  char* end = NULL;
  const long number = strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || number < -2147483647L - 1 || number > 2147483647L) return 0;
  *value = (int)number;
  return 1;
}

/* Cuts line into at most `most` tab-separated fields; returns how many it holds. */
static size_t split_fields(char* line, char** fields, size_t most) {
  size_t count = 0;
  fields[count++] = line;
  for (char* p = line; *p != '\0'; ++p) {
    if (*p != '\t') continue;
    if (count == most) return most + 1;
    *p = '\0';
    fields[count++] = p + 1;
  }
  return count;
}

static void* grow(void* array, size_t count, size_t size) {
  /* Doubles at each power of two, so that a file of n lines makes about log n calls. */
  if (count != 0 && (count & (count - 1)) != 0) return array;
  return realloc(array, (count == 0 ? 1 : count * 2) * size);
}

static int read_line(dorvan_loader* loader, char* line) {
  char* f[8];
  const size_t count = split_fields(line, f, 8);
  if (count == 2 && strcmp(f[0], "size") == 0) {
    dorvan_loader_text* sizes = grow(loader->sizes, loader->size_count, sizeof *sizes);
    if (sizes == NULL) return 0;
    loader->sizes = sizes;
    sizes[loader->size_count].bytes = f[1];
    sizes[loader->size_count++].length = strlen(f[1]);
    return 1;
  }
  if (count == 8 && strcmp(f[0], "piece") == 0) {
    piece read = {f[1], 0, f[3], {f[4], strlen(f[4])}, 0.0, 1.0, 1.0, *f[6] != '\0', *f[7] != '\0'};
    if (!read_integer(f[2], &read.number) || (*f[5] != '\0' && !read_number(f[5], &read.rotation)) ||
        (read.has_x && !read_number(f[6], &read.x_factor)) || (read.has_y && !read_number(f[7], &read.y_factor))) {
      return 0;
    }
    piece* pieces = grow(loader->pieces, loader->piece_count, sizeof *pieces);
    if (pieces == NULL) return 0;
    loader->pieces = pieces;
    pieces[loader->piece_count++] = read;
    return 1;
  }
  return 0;
}

/* Reads the whole file at path and cuts it into lines and fields; 0 when it cannot. */
static int read_model(dorvan_loader* loader, const char* path) {
  FILE* file = fopen(path, "rb");
  long size = -1;
  if (file != NULL && fseek(file, 0, SEEK_END) == 0) size = ftell(file);
  if (size < 0 || fseek(file, 0, SEEK_SET) != 0 || (loader->text = malloc((size_t)size + 1)) == NULL ||
      fread(loader->text, 1, (size_t)size, file) != (size_t)size) {
    if (file != NULL) fclose(file);
    return 0;
  }
  fclose(file);
  loader->text[size] = '\0';
  for (char* line = loader->text; line != NULL && *line != '\0';) {
    char* end = strchr(line, '\n');
    if (end != NULL) *end = '\0';
    const size_t length = strlen(line);
    if (length != 0 && line[length - 1] == '\r') line[length - 1] = '\0';
    if (*line != '\0' && *line != '#' && !read_line(loader, line)) return 0;
    line = end != NULL ? end + 1 : NULL;
  }
  return 1;
}

static dorvan_loader* create(void) { return calloc(1, sizeof(dorvan_loader)); }

static void destroy(dorvan_loader* loader) {
  forget_model(loader);
  free(loader);
}

static int open_model(dorvan_loader* loader, const char* path) {
  forget_model(loader);
  if (path == NULL) return DORVAN_LOADER_NO;
  const size_t length = strlen(path);
  const size_t stem = length >= 4 && strcmp(path + length - 4, ".mdl") == 0 ? length - 4 : length;
  char* tsv = malloc(stem + 5);
  if (tsv == NULL) return DORVAN_LOADER_FAILED;
  memcpy(tsv, path, stem);
  strcpy(tsv + stem, ".tsv");
  const int read = read_model(loader, tsv);
  free(tsv);
  if (!read) forget_model(loader);
  return read ? DORVAN_LOADER_YES : DORVAN_LOADER_NO;
}

static int get_sizes(dorvan_loader* loader, const char* name, const dorvan_loader_text** sizes, size_t* count) {
  if (name != NULL || loader->text == NULL) return DORVAN_LOADER_NO;
  *sizes = loader->sizes;
  *count = loader->size_count;
  return DORVAN_LOADER_YES;
}

/* The first piece in file order with this VGFN and number, or this VGFN and key. */
static const piece* find(const dorvan_loader* loader, const char* vgfn, int number, const char* key) {
  for (size_t i = 0; vgfn != NULL && i < loader->piece_count; ++i) {
    const piece* p = &loader->pieces[i];
    if (strcmp(p->vgfn, vgfn) == 0 && (key != NULL ? strcmp(p->key, key) == 0 : p->number == number)) return p;
  }
  return NULL;
}

static int answer(const piece* p, double* rotation, double* x_factor, double* y_factor) {
  if (p == NULL) return DORVAN_LOADER_NO;
  *rotation = p->rotation;
  if (p->has_x) *x_factor = p->x_factor;
  if (p->has_y) *y_factor = p->y_factor;
  return DORVAN_LOADER_YES;
}

static int get_piece_name(dorvan_loader* loader, const char* vgfn, int number, dorvan_loader_text* name) {
  const piece* p = find(loader, vgfn, number, NULL);
  if (p == NULL) return DORVAN_LOADER_NO;
  *name = p->name;
  return DORVAN_LOADER_YES;
}

static int by_number(dorvan_loader* loader, const char* vgfn, int number, double* rotation, double* x_factor,
                     double* y_factor) {
  return answer(find(loader, vgfn, number, NULL), rotation, x_factor, y_factor);
}

static int by_key(dorvan_loader* loader, const char* vgfn, const char* key, double* rotation, double* x_factor,
                  double* y_factor) {
  return key == NULL ? DORVAN_LOADER_NO : answer(find(loader, vgfn, 0, key), rotation, x_factor, y_factor);
}

/* A file is read whole at each open and never changes during an import, so the import
 * may reuse an answer. The table is constant: imports on several threads share it. */
static const dorvan_loader_table table = {DORVAN_LOADER_ABI_VERSION,
                                          "sample-tsv",
                                          "1.0.0",
                                          1,
                                          create,
                                          destroy,
                                          open_model,
                                          get_sizes,
                                          get_piece_name,
                                          by_number,
                                          by_key};

DORVAN_LOADER_EXPORT const dorvan_loader_table* dorvan_marker_get_loader(unsigned int abi_version,
                                                                         unsigned int code_page) {
  (void)code_page; /* names are compared as bytes, whatever their code page */
  return abi_version == DORVAN_LOADER_ABI_VERSION ? &table : NULL;
}
