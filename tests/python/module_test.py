# SPDX-License-Identifier: MIT
"""The Python module against the C++ API: the same names, host files, messages and report for
the example and the bad-input table's markers, which MARKERS_PROGRAM (bad_input_markers) writes;
and, given the command line, the same renderings as it writes for those and the golden markers.
usage: DORVAN_MARKER_LIBRARY=LIBRARY python3 tests/python/module_test.py MARKERS_PROGRAM VERSION [CLI]"""
import glob
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
        return {0: 2, -2: 4, -7: 8}[error.code], []


def module_import(marker, out):
    try:
        return 1, raw(dorvan_marker.import_marker(marker, out)), b""
    except dorvan_marker.Error as error:
        return error.code, b"", raw(error.message)


def cli_renders(cli, markers, scratch):
    """What the command line writes for markers, by kind."""
    printed = {kind: subprocess.run([cli, "inspect", *flags, *markers], capture_output=True).stdout
               for kind, flags in (("text", []), ("json", ["--json"]), ("csv", ["--csv"]))}
    for kind, command in (("svg", "render"), ("html", "report")):
        written = os.path.join(scratch, "cli." + kind)
        subprocess.run([cli, command, *markers, "-o", written], stderr=subprocess.DEVNULL)
        printed[kind] = read(written)  # None when nothing was written
        if printed[kind] is not None:
            os.remove(written)
    return printed


def module_render(markers, kind):
    try:
        text = dorvan_marker.render(markers, kind)
        return raw(text) if kind in ("text", "csv") else text.encode("utf-8")
    except dorvan_marker.Error:
        return None


def check_renders(cli, markers, scratch, what):
    for kind, expected in cli_renders(cli, markers, scratch).items():
        check(what + ": render " + kind, module_render(markers[0] if len(markers) == 1 else markers, kind), expected)


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
        if len(sys.argv) > 3 and os.path.exists(marker) and os.path.getsize(marker) < 1 << 20:  # not the huge rows
            check_renders(sys.argv[3], [marker], scratch, row[:-2])
    if len(sys.argv) > 3:
        root = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir)
        golden = sorted(set(glob.glob(os.path.join(root, "tests", "data", "golden", "*.txt"))) -
                        set(glob.glob(os.path.join(root, "tests", "data", "golden", "expected.txt"))))
        for marker in golden:
            check_renders(sys.argv[3], [marker], scratch, os.path.basename(marker))
        check_renders(sys.argv[3], golden, scratch, "the golden markers at once")

    # Two byte pairs of code page 932 give one character: each name still gives its bytes back.
    open(os.path.join(scratch, "932.txt"), "wb").write(b"VMDL:VNMD\n1:\x87\x90\n1:\x81\xe0\n")
    check("code page 932: names encode back to their bytes", [name.encode("cp932", "surrogateescape") for name in
          dorvan_marker.style_names(os.path.join(scratch, "932.txt"), "932")], [b"\x87\x90", b"\x81\xe0"])
    # A plan from Python is the plan of the command line's JSON; a refused order raises with its line.
    example = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "examples", "jacket",
                           "spring jacket.txt")
    planned = dorvan_marker.plan([example], {"38": 10, "42": 7}, max_plies=12)
    check("plan: ten plies of the example", [(m["plies"], m["fabric_mm"]) for m in planned["markers"]], [(10, 55700)])
    try:
        dorvan_marker.plan([example], {"38": 13}, max_plies=12)
        check("plan: an order beyond max_plies raises", None, dorvan_marker.ORDER_UNMET)
    except dorvan_marker.Error as error:
        check("plan: an order beyond max_plies raises", (error.code, error.message),
              (dorvan_marker.ORDER_UNMET, 'order: the order cannot be met with at most 12 plies of each marker: '
               'size "38" needs 13, at most 12 can be cut'))
    try:
        dorvan_marker.style_names(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                                               "examples", "jacket", "spring jacket.txt"), code_page="1253")
        check("code page 1253 is refused", "listed", "refused")
    except dorvan_marker.Error as error:
        check("code page 1253 is refused, naming the accepted ones", (error.code, error.message),
              (-6, 'dorvan_marker_style_names: unknown code page "1253" (1252, 932, 936, 949, 950 or utf-8)'))
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
