# SPDX-License-Identifier: MIT
"""The Python module against the C++ API: the same names, host files, messages and report for
the example and the bad-input table's markers, which MARKERS_PROGRAM (bad_input_markers) writes.
usage: DORVAN_MARKER_LIBRARY=LIBRARY python3 tests/python/module_test.py MARKERS_PROGRAM"""
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "python"))
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
        return {0: 2, -2: 4, -7: 8}[error.code], []


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
    try:
        dorvan_marker.style_names(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                                               "examples", "jacket", "spring jacket.txt"), code_page="1253")
        check("code page 1253 is refused", "listed", "refused")
    except dorvan_marker.Error as error:
        check("code page 1253 is refused, naming the accepted ones", (error.code, error.message),
              (-6, 'dorvan_marker_style_names: unknown code page "1253" (1252, 932, 936, 949, 950 or utf-8)'))
sys.exit(1 if failures else 0)
