#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the library and its command line, imports the bundled example marker into
# build/example/ and shows the two host files it wrote.
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh build
cmake -S . -B build/example-build -DCMAKE_BUILD_TYPE=Release -DDORVAN_MARKER_BUILD_TESTS=OFF >/dev/null
cmake --build build/example-build --parallel "$(nproc 2>/dev/null || echo 1)" >/dev/null
mkdir -p build/example
marker="examples/jacket/spring jacket.txt"
echo "== dorvan-marker import \"$marker\" --out-dir build/example"
build/example-build/tools/dorvan-marker import "$marker" --out-dir build/example
echo "== build/example/csvimprt.txt"
cat build/example/csvimprt.txt
echo "== build/example/posimport.txt"
cat build/example/posimport.txt
