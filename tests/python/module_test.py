# SPDX-License-Identifier: MIT
"""The Python module held against the C++ API: the same model names, host files, messages
and report for the example and for every marker of the bad-input table.

usage: DORVAN_MARKER_LIBRARY=LIBRARY python3 tests/python/module_test.py MARKERS_PROGRAM
MARKERS_PROGRAM is tests/hardening/bad_input_markers.cpp built.
"""
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "python"))
import dorvan_marker  # noqa: E402

STYLE_STATUS = {0: 2, -2: 4}  # a failure's result as ReadStyleList's status
failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(what)
    print(("ok - " if got == expected else "FAIL - ") + what + ("" if got == expected else ": %r != %r" % (got, expected)))


def read(path):
    return open(path, "rb").read() if os.path.exists(path) else None


def raw(text):
    return text.encode(dorvan_marker._codec(None), "surrogateescape")


def module_styles(marker):
    try:
        names = dorvan_marker.style_names(marker)
        return (0 if names else 1), [raw(name) for name in names]
    except dorvan_marker.Error as error:
        return STYLE_STATUS[error.code], []


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
        status, names = read(os.path.join(folder, b"styles")).split(b"\n", 1)
        check(row + "the model names", module_styles(marker), (int(status), names.split(b"\0")[:-1]))
        status, rest = read(os.path.join(folder, b"import")).split(b"\n", 1)
        check(row + "the import's result, name and message", module_import(marker, os.path.join(folder, b"out")),
              (int(status), *rest.split(b"\0", 1)))
        for host_file in (b"csvimprt.txt", b"posimport.txt"):
            check(row + "the host file " + host_file.decode(), read(os.path.join(folder, b"out", host_file)),
                  read(os.path.join(folder, b"cpp-out", host_file)))
        check(row + "the report", dorvan_marker.inspect(marker), json.loads(read(os.path.join(folder, b"inspect.json"))))

    # Two byte pairs of code page 932 give one character: each name still gives its bytes back.
    marker = os.path.join(scratch, "932.txt")
    open(marker, "wb").write(b"VMDL:VNMD\n1:\x87\x90\n1:\x81\xe0\n")
    check("code page 932: names encode back to their bytes",
          [name.encode("cp932", "surrogateescape") for name in dorvan_marker.style_names(marker, "932")],
          [b"\x87\x90", b"\x81\xe0"])

print("%d failed" % len(failures))
sys.exit(1 if failures else 0)
