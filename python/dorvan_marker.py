# SPDX-License-Identifier: MIT
"""Marker files from Python, through the C face of the dorvan_marker library.

    import dorvan_marker
    dorvan_marker.style_names("lays/spring jacket.txt")          # ['JACKET', 'TROUSERS']
    dorvan_marker.import_marker("lays/spring jacket.txt", "out")  # 'SPRING JACKET'
    dorvan_marker.inspect("lays/spring jacket.txt")               # the report of inspect --json
    dorvan_marker.render("lays/spring jacket.txt", "svg")         # the picture of render
    dorvan_marker.plan(["lays/spring jacket.txt"], {"38": 10})     # the plan of plan --json

Only the standard library (ctypes); Python 3.9 or later. The library is the file that the
environment variable DORVAN_MARKER_LIBRARY names, else the installed libdorvan_marker.so.1
(on Windows dorvan_marker.dll: the zip's bin\\dorvan_marker.dll when this module is the
zip's python\\dorvan_marker.py, else the one Windows finds), loaded at the first call.

Names are str, decoded from the marker's code page (code_page, as --codepage names it:
"1252", "932", "936", "949", "950", "utf-8"; None for the system's) with
errors="surrogateescape": encoding them back the same way gives the marker's exact bytes.
A character that two byte sequences of the code page share is kept as its bytes, escaped,
so that this holds for every code page. Paths may be str, bytes or os.PathLike. On Windows
every path reaches the library in UTF-8 and is opened by its UTF-16 name, so any name
Windows allows works: a str as it is, bytes as Python's own functions take them there (in
UTF-8). Elsewhere a path is bytes: a str is encoded as os.fsencode encodes it.

Every failure of the library raises Error; a wrong argument raises TypeError (a path that
is not str, bytes or os.PathLike, a code_page that is not str) or ValueError (a path or
code page that holds a NUL, which would end it early), before the library is called.
__version__ is the library's version, "MAJOR.MINOR.PATCH". Calls may come from several
threads at once.
"""
import codecs
import ctypes
import json
import locale
import os
import threading

__all__ = ["Error", "style_names", "import_marker", "inspect", "render", "plan"]

# The results of the C face (dorvan_marker/dorvan_marker_c.h).
OK, CANNOT_OPEN, NO_MODELS, MALFORMED, CANNOT_WRITE, LOADER_UNUSABLE, BUFFER_TOO_SMALL, BAD_CALL = 1, 0, -1, -2, -3, -4, -5, -6
OUT_OF_MEMORY = -7
BAD_ORDER, ORDER_UNMET, PLAN_GAVE_UP = -8, -9, -10
_NAME_SIZE = 256
_FIRST_ASK = 64 * 1024  # lists and reports of ordinary markers fit at the first call
_MESSAGE_SIZE = 64 * 1024


class Error(Exception):
    """A call that failed. code is the result as ImportDorvanFile gives it: 0 the marker
    cannot be opened, -1 it holds no models, -2 it is malformed, -3 the host files cannot
    be written (neither is changed), -4 the loader plug-in cannot serve; -6 the library
    refused the call (an unknown code page: the message names the accepted ones); -7 the
    memory ran out (no fault of the marker); plan: -8 the order is refused, -9 no plan
    meets it, -10 the search stopped at its step limit. message says what went wrong, like a compiler:
    file, line, section, record and field."""

    def __init__(self, code, message):
        super().__init__(message)
        self.code = code
        self.message = message


# How the paths of a call are encoded (dorvan_marker_options.path_encoding).
_PATHS_SYSTEM, _PATHS_UTF8 = 0, 1


class _Options(ctypes.Structure):
    _fields_ = [("size", ctypes.c_size_t), ("code_page", ctypes.c_char_p), ("loader", ctypes.c_char_p),
                ("path_encoding", ctypes.c_int)]


class _PlanOptions(ctypes.Structure):
    _fields_ = [("size", ctypes.c_size_t), ("max_plies", ctypes.c_int), ("end_allowance_mm", ctypes.c_double)]


_library = None
_loading = threading.Lock()


def _library_file():
    named = os.environ.get("DORVAN_MARKER_LIBRARY")
    if named:
        return named
    if os.name != "nt":
        return "libdorvan_marker.so.1"
    beside = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "bin", "dorvan_marker.dll")
    return os.path.normpath(beside) if os.path.isfile(beside) else "dorvan_marker.dll"


def _lib():
    global _library
    if _library is not None:
        return _library
    with _loading:
        if _library is None:
            lib = ctypes.CDLL(_library_file())
            size, text, options = ctypes.c_size_t, ctypes.c_char_p, ctypes.POINTER(_Options)
            sizes = ctypes.POINTER(ctypes.c_size_t)
            lib.dorvan_marker_style_names.argtypes = [text, options, text, size, sizes, sizes, text, size]
            lib.dorvan_marker_import.argtypes = [text, text, options, text, size, text, size]
            lib.dorvan_marker_inspect_json.argtypes = [text, options, text, size, sizes, text, size]
            lib.dorvan_marker_render.argtypes = [ctypes.POINTER(text), size, text, text, options, text, size, sizes,
                                                 text, size]
            lib.dorvan_marker_plan.argtypes = [ctypes.POINTER(text), size, text, options, ctypes.POINTER(_PlanOptions),
                                               text, size, sizes, text, size]
            lib.dorvan_marker_version.argtypes = [text, size, sizes]
            _library = lib
        return _library


def __getattr__(name):
    # The version is the library's, asked when first wanted: importing loads nothing.
    if name != "__version__":
        raise AttributeError("module %r has no attribute %r" % (__name__, name))
    result, version = _ask(lambda buffer, size, needed: _lib().dorvan_marker_version(buffer, size, needed))
    if result != OK:
        raise Error(result, "dorvan_marker_version gave %d" % result)
    return version.decode("ascii")


def _without_nul(what, text):
    if (b"\0" if isinstance(text, bytes) else "\0") in text:
        raise ValueError("%s holds a NUL, which would end it early: %r" % (what, text))
    return text


def _path(what, path):
    """path's bytes as the library takes them: UTF-8 on Windows (the call says so in its
    options), the file system's bytes elsewhere."""
    if not isinstance(path, (str, bytes, os.PathLike)):
        raise TypeError("%s must be str, bytes or os.PathLike, not %s" % (what, type(path).__name__))
    path = _without_nul(what, os.fspath(path))
    if isinstance(path, bytes):
        return path
    return path.encode("utf-8") if os.name == "nt" else os.fsencode(path)


def _code_page(code_page):
    if code_page is not None and not isinstance(code_page, str):
        raise TypeError("code_page must be str or None, not %s" % type(code_page).__name__)
    return code_page


def _options(code_page, loader):
    # A name the library does not know is refused by the library, which names the names it knows.
    return ctypes.byref(_Options(ctypes.sizeof(_Options),
                                 None if code_page is None else _without_nul("code_page", code_page).encode("utf-8"),
                                 None if loader is None else _path("loader", loader),
                                 _PATHS_UTF8 if os.name == "nt" else _PATHS_SYSTEM))


def _codec(code_page):
    """The Python codec of a code page as the library names it; latin-1 keeps the bytes of
    one Python does not know."""
    if code_page is None:
        name = "cp%d" % ctypes.windll.kernel32.GetACP() if os.name == "nt" else locale.getpreferredencoding(False)
    else:
        name = "cp" + code_page if code_page.isdigit() else code_page
    try:
        return codecs.lookup(name).name
    except LookupError:
        return "latin-1"


def _escaped(data):
    return "".join(chr(0xDC00 + byte) if byte >= 0x80 else chr(byte) for byte in data)


def _decode(data, codec):
    text = data.decode(codec, "surrogateescape")
    if text.encode(codec, "surrogateescape") == data:
        return text
    # A character that comes back as other bytes is kept as the bytes it came from.
    kept, at = [], 0
    for char in text:
        encoded = char.encode(codec, "surrogateescape")
        if not data.startswith(encoded, at):
            encoded = data[at:at + len(encoded)]
            char = _escaped(encoded)
        kept.append(char)
        at += len(encoded)
    text = "".join(kept)
    return text if text.encode(codec, "surrogateescape") == data else _escaped(data)


def _raise_unless_ok(result, message, codec):
    if result != OK:
        raise Error(result, _decode(message.value, codec))


def _ask(call):
    """Calls call(buffer, size, needed) with a buffer as large as the text needs; returns
    the result and the text's bytes, without the NUL at its end."""
    size = _FIRST_ASK
    while True:
        buffer, needed = ctypes.create_string_buffer(size), ctypes.c_size_t(0)
        result = call(buffer, size, ctypes.byref(needed))
        if result != BUFFER_TOO_SMALL or needed.value <= size:
            return result, buffer.raw[:max(needed.value - 1, 0)]
        size = needed.value


def style_names(path, code_page=None):
    """The marker's model names, as GetStyleList lists them: every distinct "VNMD" of its
    "VMDL" records, in order of first appearance; [] when it has none."""
    path, options = _path("path", path), _options(_code_page(code_page), None)
    codec, count, message = _codec(code_page), ctypes.c_size_t(0), ctypes.create_string_buffer(_MESSAGE_SIZE)
    result, names = _ask(lambda buffer, size, needed: _lib().dorvan_marker_style_names(
        path, options, buffer, size, needed, ctypes.byref(count), message, _MESSAGE_SIZE))
    if result == NO_MODELS:
        return []
    _raise_unless_ok(result, message, codec)
    return [_decode(name, codec) for name in names.split(b"\0")[:count.value]]


def import_marker(path, out_dir, code_page=None, loader=None):
    """Imports the marker into out_dir/csvimprt.txt and out_dir/posimport.txt (both
    replaced, or neither); returns the marker's name. loader: a loader plug-in's file; None
    for the one DORVAN_MARKER_LOADER names, else the library's own loader."""
    path, out_dir, options = _path("path", path), _path("out_dir", out_dir), _options(_code_page(code_page), loader)
    codec, name, message = _codec(code_page), ctypes.create_string_buffer(_NAME_SIZE), ctypes.create_string_buffer(
        _MESSAGE_SIZE)
    result = _lib().dorvan_marker_import(path, out_dir, options, name, _NAME_SIZE, message, _MESSAGE_SIZE)
    _raise_unless_ok(result, message, codec)
    return _decode(name.value, codec)


def inspect(path, code_page=None, loader=None):
    """The report of `dorvan-marker inspect --json` for the marker, as a dict: the whole
    document, whose "text" says how the names in it are carried. A marker that cannot be
    read gives its report too (its "status" and "diagnostics" say why); only a refused call,
    or one that ran out of memory before the report was made, raises."""
    path, options = _path("path", path), _options(_code_page(code_page), loader)
    message = ctypes.create_string_buffer(_MESSAGE_SIZE)
    result, document = _ask(lambda buffer, size, needed: _lib().dorvan_marker_inspect_json(
        path, options, buffer, size, needed, message, _MESSAGE_SIZE))
    if result in (BUFFER_TOO_SMALL, BAD_CALL) or not document:  # no document: refused, or no memory to make it
        raise Error(result, _decode(message.value, _codec(code_page)))
    return json.loads(document.decode("utf-8"))


def render(paths, kind, paper=None, code_page=None, loader=None):
    """The markers at paths (one path, or a list of them) rendered as kind, the text the
    command line writes for them: "text" (inspect), "json" (inspect --json), "csv"
    (inspect --csv), "svg" (render, of one marker) or "html" (report; paper "a4" or
    "letter", None for "a4"). The text and the CSV are decoded from the marker's code page
    as names are; the others are UTF-8. Markers that cannot be read are rendered too, saying
    why; only a refused call, or a picture of a marker that cannot be read, raises."""
    if isinstance(paths, (str, bytes)) or not hasattr(paths, "__iter__"):
        paths = [paths]
    encoded = [_path("paths", path) for path in paths]
    array = (ctypes.c_char_p * max(len(encoded), 1))(*encoded)
    message = ctypes.create_string_buffer(_MESSAGE_SIZE)
    result, text = _ask(lambda buffer, size, needed: _lib().dorvan_marker_render(
        array, len(encoded), kind.encode("ascii"), None if paper is None else paper.encode("ascii"),
        _options(_code_page(code_page), loader), buffer, size, needed, message, _MESSAGE_SIZE))
    codec = _codec(code_page)
    if result in (BUFFER_TOO_SMALL, BAD_CALL) or (kind == "svg" and result != OK):
        raise Error(result, _decode(message.value, codec))
    return _decode(text, codec) if kind in ("text", "csv") else text.decode("utf-8")


def _csv_field(text):
    return '"' + text.replace('"', '""') + '"' if any(c in text for c in ',"\r\n') or text != text.strip() else text


def plan(paths, order, max_plies=100, end_allowance_mm=0.0, code_page=None, loader=None):
    """The plan of `dorvan-marker plan --json` as a dict: the plies of each marker (at most
    12) that cut at least order[size] garments of every size with the least fabric, then
    the fewest garments beyond the order. order maps each size (str, as the host files name
    it) to a whole number >= 0. A refused order, an order no plan meets within max_plies,
    or a marker that cannot be read raises Error."""
    codec = _codec(code_page)
    rows = ["size,quantity"]
    for size, quantity in order.items():
        if isinstance(quantity, bool) or not isinstance(quantity, int):
            raise Error(BAD_ORDER, "the quantity of size %r is not a whole number" % (size,))
        rows.append(_csv_field(size) + "," + str(quantity))
    text = ("\n".join(rows) + "\n").encode(codec, "surrogateescape")
    encoded = [_path("paths", path) for path in paths]
    array = (ctypes.c_char_p * max(len(encoded), 1))(*encoded)
    options = ctypes.byref(_PlanOptions(ctypes.sizeof(_PlanOptions), max_plies, end_allowance_mm))
    message = ctypes.create_string_buffer(_MESSAGE_SIZE)
    result, document = _ask(lambda buffer, size, needed: _lib().dorvan_marker_plan(
        array, len(encoded), text, _options(_code_page(code_page), loader), options, buffer, size, needed, message, _MESSAGE_SIZE))
    _raise_unless_ok(result, message, codec)
    return json.loads(document.decode("utf-8"))
