#!/bin/sh
# SPDX-License-Identifier: MIT
# The command line's JSON against its schema and its SVG drawn by rsvg-convert and read
# back as pixels. Runs after the unit stage has built build/release.
set -eu
cli=build/release/tools/dorvan-marker
[ -x "$cli" ] || { echo "outputs: $cli is not built" >&2; exit 1; }
# Debian's python3-jsonschema belongs to /usr/bin/python3; another python3 first on PATH
# may lack it.
for python in python3 /usr/bin/python3; do
  if "$python" -c 'import jsonschema' 2>/dev/null; then
    exec "$python" tests/tools/outputs_test.py "$cli"
  fi
done
echo "outputs: no python3 with jsonschema (scripts/deps.sh test installs python3-jsonschema)" >&2
exit 1
