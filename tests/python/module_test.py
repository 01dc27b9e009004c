# SPDX-License-Identifier: MIT
"""The Python module against the C++ API: the same names, host files, messages and report for
the example and the bad-input table's markers, which MARKERS_PROGRAM (bad_input_markers) writes.
usage: DORVAN_MARKER_LIBRARY=LIBRARY python3 tests/python/module_test.py MARKERS_PROGRAM VERSION"""
import json
import os
import subprocess
import sys
import tempfile

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir)
sys.path.insert(0, os.path.join(root, "python"))
import dorvan_marker  # noqa: E402

failures = []


def check(what, got, expected):
    failures.extend([what] if got != expected else [])
    print(("ok - " if got == expected else "FAIL - ") + what + ("" if got == expected else ": %r != %r" % (got, expected)))


def read(*path):
    return open(os.path.join(*path), "rb").read() if os.path.exists(os.path.join(*path)) else None


def raw(text):
    return text.encode(dorvan_marker._codec(None), "surrogateescape")


def module_styles(marker):  # as ReadStyleList's status and names
    try:
        names = dorvan_marker.style_names(marker)
        return (0 if names else 1), [raw(name) for name in names]
    except dorvan_marker.Error as error:
        return {0: 2, -2: 4}[error.code], []


def module_import(marker, out):
    try:
        return 1, raw(dorvan_marker.import_marker(marker, out)), b""
    except dorvan_marker.Error as error:
        return error.code, b"", raw(error.message)


with tempfile.TemporaryDirectory() as scratch:
    rows = subprocess.run([sys.argv[1]], env=dict(os.environ, TMPDIR=scratch), stdout=subprocess.PIPE, check=True)
    for line in rows.stdout.splitlines():
        name, folder, marker = line.split(b"\t")
        row = name.decode() + ": "
        status, names = read(folder, b"styles").split(b"\n", 1)
        check(row + "model names", module_styles(marker), (int(status), names.split(b"\0")[:-1]))
        status, rest = read(folder, b"import").split(b"\n", 1)
        check(row + "import", module_import(marker, os.path.join(folder, b"out")), (int(status), *rest.split(b"\0", 1)))
        for host_file in (b"csvimprt.txt", b"posimport.txt"):
            check(row + host_file.decode(), read(folder, b"out", host_file), read(folder, b"cpp-out", host_file))
        check(row + "report", dorvan_marker.inspect(marker), json.loads(read(folder, b"inspect.json")))

    # Two byte pairs of code page 932 give one character: each name still gives its bytes back.
    open(os.path.join(scratch, "932.txt"), "wb").write(b"VMDL:VNMD\n1:\x87\x90\n1:\x81\xe0\n")
    check("code page 932: names encode back to their bytes", [name.encode("cp932", "surrogateescape") for name in
          dorvan_marker.style_names(os.path.join(scratch, "932.txt"), "932")], [b"\x87\x90", b"\x81\xe0"])
    # Names are str: a byte UTF-8 does not know stays as its escape, the rest decodes.
    open(os.path.join(scratch, "utf8.txt"), "wb").write(b"VMDL:VNMD\n1:\xff\xc3\xa9\n")
    check("utf-8: an invalid byte and then \"\xe9\"", dorvan_marker.style_names(os.path.join(scratch, "utf8.txt"), "utf-8"),
          ["\udcff\xe9"])

    # Wrong calls raise Python's own exceptions before the library is asked.
    example, nul_out = os.path.join(root, "examples", "jacket", "spring jacket.txt"), os.path.join(scratch, "nul")
    os.mkdir(nul_out)
    for what, call, expected in [
            ("a path with a NUL", lambda: dorvan_marker.import_marker(example, nul_out + "\0/elsewhere"), ValueError),
            ("bytes with a NUL", lambda: dorvan_marker.style_names(os.fsencode(example) + b"\0.bak"), ValueError),
            ("a code page with a NUL", lambda: dorvan_marker.inspect(example, code_page="1252\0"), ValueError),
            ("a path of no path type", lambda: dorvan_marker.style_names(1), TypeError),
            ("a code page that is no str", lambda: dorvan_marker.import_marker(example, nul_out, 1252), TypeError)]:
        try:
            call()
            got = None
        except Exception as error:  # noqa: BLE001 - its type is what is checked
            got = type(error)
        check("refused before any call: " + what, got, expected)
    check("a refused call writes nothing", os.listdir(nul_out), [])
    try:
        refusal = dorvan_marker.style_names(example, code_page="\xe9")
    except dorvan_marker.Error as error:
        refusal = (error.code, error.message)
    check("a code page the library does not know is its refusal", refusal,
          (dorvan_marker.BAD_CALL, 'dorvan_marker_style_names: unknown code page "\xc3\xa9" (1252, 932, 936, 949, 950 or utf-8)'))
check("__version__ is the library's", dorvan_marker.__version__, sys.argv[2])
sys.exit(1 if failures else 0)
