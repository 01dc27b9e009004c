#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes docs/report-page.png, the README's picture of the report: the example marker's
# page, printed on A4 by headless chromium as the browser stage prints it, then turned
# into a picture. Needs the release build (build/release) and scripts/deps.sh test.
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/release/tools/dorvan-marker report "examples/jacket/spring jacket.txt" -o "$work/report.html"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --user-data-dir="$work/profile" --no-pdf-header-footer \
  --print-to-pdf="$work/report.pdf" "file://$work/report.html" 2>/dev/null
pdftoppm -png -r 110 -singlefile "$work/report.pdf" docs/report-page
echo "docs/report-page.png: $(pdfinfo "$work/report.pdf" | grep Pages)"
