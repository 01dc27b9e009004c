# SPDX-License-Identifier: MIT
"""The command line's JSON and SVG, checked as their readers see them: the JSON against its
schema, the SVG as XML and as pixels drawn by a real renderer (rsvg-convert).

usage: python3 tests/tools/outputs_test.py PATH/TO/dorvan-marker
"""
import csv
import io
import json
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib

import jsonschema

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXAMPLE = os.path.join(ROOT, "examples", "jacket", "spring jacket.txt")
SVG_NS = "{http://www.w3.org/2000/svg}"

SHIRT_MODEL = ("MSIZ:SNAM\n1:S\n1:M\nMPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n"
               "2:SHIRT:1:sh-fr:Front:0:1:1\n2:SHIRT:2:sh-bk:Back:0:1:1\n")
HEADERS = ("VART:VEXT:VGFN\nVMDL:VNUM:VNMD:VTAN\nVVET:VNUM:VTAI:VTBA:VCTA\nIBA:IART:INAM:VNUM:IFLG\n"
           "IGEO:INUM:IGRS:IXOR:IYOR:IXDI:IYDI:IGRF\nLEZ:LLEZ\n")
# Article 2 is of kind MDL: its placement keeps the raw size code 1 and is lost.
LOST = HEADERS + ("1:VET:SHIRT\n1:MDL:SHIRT\n2:1:SHIRT:0\n2:2:SHIRT:1\n3:1:1:SHIRT:1\n3:2:1:SHIRT:1\n"
                  "4:sh-fr:1:1:0\n4:sh-bk:2:2:0\n5:1:0:0:0:4000:5000:0\n5:2:0:4000:0:3000:5000:0\n6:10000\n")

results = {"passed": 0, "failed": 0}


def check(name, condition, detail=""):
    results["passed" if condition else "failed"] += 1
    print(("ok    " if condition else "FAIL  ") + name + ("" if condition else ": " + str(detail)))


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True)


def read_png(path):
    """Width, height and rows of RGBA pixels of an 8-bit RGBA or RGB PNG (what rsvg-convert writes)."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour = header[0], header[1], header[2], header[3]
    assert depth == 8 and colour in (2, 6), header
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


class Picture:
    """An SVG drawn to PNG, with its pixels reachable by marker millimetres."""

    def __init__(self, svg_path, png_path):
        self.root = ET.parse(svg_path).getroot()
        subprocess.run(["rsvg-convert", svg_path, "-o", png_path], check=True)
        self.width, self.height, self.channels, self.rows = read_png(png_path)
        self.view = [float(v) for v in self.root.get("viewBox").split()]

    def pixel(self, x_mm, y_mm):
        vx, vy, vw, vh = self.view
        px = int((x_mm - vx) * self.width / vw)
        py = int((y_mm - vy) * self.height / vh)
        row = self.rows[py]
        return tuple(row[px * self.channels:px * self.channels + 3])

    def css_fill(self, cls):
        style = self.root.find(f"{SVG_NS}defs/{SVG_NS}style").text
        rule = style[style.index("." + cls + "{"):]
        colour = rule[rule.index("fill:#") + 6:][:6]
        return tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4))


def close(a, b, tolerance=6):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def write(folder, name, text, encoding="ascii"):
    path = os.path.join(folder, name)
    with open(path, "wb") as f:
        f.write(text.encode(encoding) if isinstance(text, str) else text)
    return path


def check_json(cli, folder):
    inspect_schema = json.load(open(os.path.join(ROOT, "docs", "schema", "inspect-v1.json")))
    styles_schema = json.load(open(os.path.join(ROOT, "docs", "schema", "styles-v1.json")))
    write(folder, "SHIRT.mdl", SHIRT_MODEL)
    lost = write(folder, "lost.txt", LOST)
    broken = write(folder, "broken.txt", HEADERS + "1:VET:SHIRT\n2:1:SHIRT:0\n3:1:1:SHIRT:1\n4:a:1:1:0\n5:9\n6:10000\n")
    nomodels = write(folder, "nomodels.txt", "PLC:PNAM\n1:x\n")
    # A name in code page 1252 ("Ã©t\xe9") that is not UTF-8, with a quote and a control byte.
    names = write(folder, "names.txt", b"VMDL:VNUM:VNMD\n1:1:\xe9t\xe9 \"A\"\x01\n")
    absent = os.path.join(folder, "absent.txt")
    markers = [EXAMPLE, lost, broken, nomodels, absent]

    done = run(cli, "inspect", "--json", *markers)
    document = json.loads(done.stdout)
    try:
        jsonschema.validate(document, inspect_schema)
        check("inspect --json of five markers matches its schema", True)
    except jsonschema.ValidationError as error:
        check("inspect --json of five markers matches its schema", False, error.message)
    statuses = [m["status"] for m in document["markers"]]
    check("inspect --json gives each marker its status", statuses == ["read", "read", "malformed", "no-models", "cannot-open"], statuses)
    check("inspect with several markers exits with the largest code", done.returncode == 6, done.returncode)
    check("inspect --json keeps the summary table off stdout", b"placements" in done.stderr and done.stdout.lstrip().startswith(b"{"))
    lost_codes = [d["code"] for d in document["markers"][1]["diagnostics"]]
    check("the lost placement is reported with its line", "placement-lost" in lost_codes and
          any(d["code"] == "placement-lost" and d["line"] == 16 for d in document["markers"][1]["diagnostics"]), lost_codes)
    check("a malformed marker is one error diagnostic with its line",
          [(d["code"], d["line"], d["field"]) for d in document["markers"][2]["diagnostics"]] == [("malformed", 11, "INUM")],
          document["markers"][2]["diagnostics"])

    check_csv(cli, [*markers, write(folder, 'lo,st "x".txt', LOST)])

    done = run(cli, "styles", "--json", "--codepage", "1252", names, EXAMPLE, nomodels)
    document = json.loads(done.stdout)
    try:
        jsonschema.validate(document, styles_schema)
        check("styles --json matches its schema", True)
    except jsonschema.ValidationError as error:
        check("styles --json matches its schema", False, error.message)
    style = document["markers"][0]["styles"][0]
    check("names in code page 1252 come back byte for byte as Latin-1", document["text"] == "latin1-bytes" and
          style.encode("latin-1") == b"\xe9t\xe9 \"A\"\x01", repr(style))
    check("styles --json lists the example's names", document["markers"][1]["styles"] == ["JACKET", "TROUSERS"])

    done = run(cli, "inspect", "--json", "--codepage", "utf-8", names)
    document = json.loads(done.stdout)
    jsonschema.validate(document, inspect_schema)
    check("under UTF-8, bytes that are no UTF-8 become U+FFFD", "\ufffd" in document["markers"][0]["styles"][0])


def check_plan(cli, folder):
    """plan --json against its schema, with the figures of inspect --json it is made of."""
    schema = json.load(open(os.path.join(ROOT, "docs", "schema", "plan-v1.json")))
    order = write(folder, "order.csv", "\ufeffSize,Quantity\r\n38,10\r\n\"42\",7\r\n\r\nM,3\r\n", "utf-8")
    done = run(cli, "plan", "--order", order, EXAMPLE, "--end-allowance", "20.5", "--json")
    document = json.loads(done.stdout)
    try:
        jsonschema.validate(document, schema)
        check("plan --json matches its schema", done.returncode == 0, done.stderr)
    except jsonschema.ValidationError as error:
        check("plan --json matches its schema", False, error.message)
    inspected = json.loads(run(cli, "inspect", "--json", "--plies", "10", "--end-allowance", "20.5", EXAMPLE).stdout)
    used = inspected["markers"][0]["used_length_mm"]
    marker = document["markers"][0]
    check("plan --json: ten plies of the example, each its used length and the end allowance, as inspect reckons them",
          (marker["plies"], marker["fabric_per_ply_mm"], document["total_fabric_mm"], inspected["markers"][0]["fabric_needed_mm"])
          == (10, used + 20.5, 10 * (used + 20.5), 10 * (used + 20.5)),
          (marker, document["total_fabric_mm"]))


def check_csv(cli, markers):
    """inspect --csv: one RFC 4180 row per marker with the figures of inspect --json."""
    plies = ["--plies", "3", "--end-allowance", "12.5"]
    done = run(cli, "inspect", "--csv", *plies, *markers)
    rows = list(csv.DictReader(io.StringIO(done.stdout.decode(), newline="")))
    document = json.loads(run(cli, "inspect", "--json", *plies, *markers).stdout)
    check("inspect --csv ends its lines with CR LF", done.stdout.count(b"\r\n") == len(markers) + 1)
    mismatches = []
    for row, marker in zip(rows, document["markers"]):
        per_garment = marker["length_per_garment"] or {}
        expected = {"path": marker["path"], "status": marker["status"], "title": marker["title"],
                    "fabric_width_mm": marker["fabric_width"]["mm"], "fabric_width_in": marker["fabric_width"]["in"],
                    "used_length_mm": marker["used_length_mm"], "box_efficiency": marker["box_efficiency"],
                    "placements": marker["placements"], "lost_placements": marker["lost_placements"],
                    "garments": marker["garments"], "length_per_garment_yd": per_garment.get("yd", ""),
                    "sizes": len(marker["sizes"]), "styles": ", ".join(marker["styles"]),
                    "errors": marker["errors"], "warnings": marker["warnings"], "plies": marker["plies"],
                    "fabric_needed_mm": "" if marker["fabric_needed_mm"] is None else marker["fabric_needed_mm"],
                    "garments_cut": marker["garments_cut"]}
        for key, value in expected.items():
            if row[key] != (value if isinstance(value, str) else repr(value)):
                mismatches.append((marker["path"], key, row[key], value))
    check("inspect --csv gives each marker a row with the figures of its JSON",
          len(rows) == len(markers) and not mismatches, mismatches[:3])


def check_svg(cli, folder):
    svg = os.path.join(folder, "example.svg")
    done = run(cli, "render", EXAMPLE, "-o", svg)
    check("render writes the example's picture", done.returncode == 0, done.stderr)
    picture = Picture(svg, os.path.join(folder, "example.png"))
    rects = picture.root.findall(f"{SVG_NS}g[@class='pc']/{SVG_NS}rect")
    check("one box per placement", len(rects) == 24, len(rects))
    # The first placement: FRONT PANEL 38 at (456, 62) cm, 450 x 600 mm; sampled away from its label.
    check("a piece of size 38 is drawn in the colour of size 38 where the marker puts it",
          close(picture.pixel(4600, 1180), picture.css_fill("s0")), (picture.pixel(4600, 1180), picture.css_fill("s0")))
    check("the pocket of size 42 is drawn at 286..298 cm", close(picture.pixel(2920, 1130), picture.css_fill("s2")),
          picture.pixel(2920, 1130))
    check("empty fabric stays the fabric's colour", close(picture.pixel(3500, 1400), picture.css_fill("fabric")),
          picture.pixel(3500, 1400))
    # A sleeve of size 38 at 502..557 cm ends the used length.
    check("the last piece reaches the end of the used length", close(picture.pixel(5560, 760), picture.css_fill("s0")))

    lost_svg = os.path.join(folder, "lost.svg")
    run(cli, "render", os.path.join(folder, "lost.txt"), "-o", lost_svg)
    lost = Picture(lost_svg, os.path.join(folder, "lost.png"))
    # The lost placement's box: 400..700 mm along, 0..500 mm across.
    reds = [lost.pixel(405 + dx, 5 + dy) for dx in range(0, 290, 7) for dy in range(0, 490, 33)]
    check("a lost placement is hatched in red", any(r > 180 and g < 60 and b < 60 for r, g, b in reds), reds[:5])
    check("the lost placement is not drawn in a size's colour", not any(close(p, lost.css_fill("s0")) for p in reds))


def check_large_marker(cli, folder):
    """30,000 placements: the SVG must stay small enough for a browser to open smoothly."""
    count = 30000
    lines = [HEADERS, "1:VET:SHIRT\n2:1:SHIRT:0\n3:1:1:SHIRT:1\n4:sh-fr:1:1:0\n"]
    for i in range(count):
        column, row = divmod(i, 5)
        lines.append(f"5:1:{i % 2}:{column * 3100}:{row * 3000}:3000:2900:0\n")
    lines.append("6:15000\n")
    marker = write(folder, "large.txt", "".join(lines))
    svg = os.path.join(folder, "large.svg")
    done = run(cli, "render", marker, "-o", svg)
    size = os.path.getsize(svg) if done.returncode == 0 else 0
    print(f"      SVG of {count} placements: {size} bytes ({size / count:.1f} a placement)")
    check("a marker of 30,000 placements renders", done.returncode == 0, done.stderr[:300])
    check("its SVG stays under 4 MB", 0 < size < 4 * 1024 * 1024, size)
    picture = Picture(svg, os.path.join(folder, "large.png"))
    # 1.86 km of fabric 1.5 m wide: cut into rows laid one below the other, so that the
    # picture stays within 2000 pixels yet shows the pieces.
    rows = picture.root.findall(f"{SVG_NS}g[@clip-path]")
    boxes = sum(len(row.findall(f"{SVG_NS}g[@class='pc']/{SVG_NS}rect")) for row in rows)
    check("its SVG is at most 2000 pixels long and draws every box",
          max(picture.width, picture.height) <= 2100 and count <= boxes <= count + 5 * len(rows),
          (picture.width, picture.height, boxes))
    check("a very long marker is cut into rows one below the other",
          len(rows) > 1 and picture.height > 500, (len(rows), picture.height))


def check_loader_json(cli, folder):
    """The loader each report names, built-in or plug-in, serving or not, as the schema says."""
    inspect_schema = json.load(open(os.path.join(ROOT, "docs", "schema", "inspect-v1.json")))
    sample = os.path.join(os.path.dirname(os.path.dirname(cli)), "dorvan_marker_sample_loader.so")
    broken = write(folder, "broken.so", "not a library")
    cases = [([], 0, {"kind": "built-in"}),
             (["--loader", sample], 0, {"kind": "plug-in", "path": sample, "name": "sample-tsv", "version": "1.0.0"}),
             (["--loader", broken], 7, {"kind": "plug-in", "path": broken, "name": None, "version": None})]
    for options, code, loader in cases:
        done = run(cli, "inspect", "--json", *options, EXAMPLE)
        document = json.loads(done.stdout)
        try:
            jsonschema.validate(document, inspect_schema)
            valid = ""
        except jsonschema.ValidationError as error:
            valid = error.message
        marker = document["markers"][0]
        check(" ".join(["inspect --json", *options]) + " matches its schema and names its loader",
              not valid and done.returncode == code and marker["loader"] == loader,
              (valid, done.returncode, marker.get("loader")))
    check("a plug-in that cannot serve gives the status loader-unusable", marker["status"] == "loader-unusable"
          and [d["code"] for d in marker["diagnostics"]] == ["loader-unusable"], marker)


def main():
    cli = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as folder:
        check_json(cli, folder)
        check_plan(cli, folder)
        check_loader_json(cli, folder)
        check_svg(cli, folder)
        check_large_marker(cli, folder)
    print(f"{results['passed']} passed, {results['failed']} failed")
    return 1 if results["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
