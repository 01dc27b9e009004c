#!/bin/sh
# SPDX-License-Identifier: MIT
# The printable report in a real browser: Debian's chromium, headless, driven by
# tests/tools/report_browser_test.mjs through playwright-core (from npm, at the version
# tests/tools/browser/package-lock.json pins; it downloads no browser). Runs after the
# unit stage has built build/release. A browser that cannot start fails the stage.
set -eu
cd "$(dirname "$0")/../.."
cli=build/release/tools/dorvan-marker
[ -x "$cli" ] || { echo "browser: $cli is not built" >&2; exit 1; }
browser=$(command -v chromium) || { echo "browser: no chromium (scripts/deps.sh test installs it)" >&2; exit 1; }
command -v pdfinfo >/dev/null || { echo "browser: no pdfinfo (scripts/deps.sh test installs poppler-utils)" >&2; exit 1; }
tools=build/browser-check
if ! cmp -s tests/tools/browser/package-lock.json "$tools/package-lock.json" ||
  [ ! -d "$tools/node_modules/playwright-core" ]; then
  rm -rf "$tools"
  mkdir -p "$tools"
  cp tests/tools/browser/package.json tests/tools/browser/package-lock.json "$tools/"
  (cd "$tools" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
exec node tests/tools/report_browser_test.mjs "$cli" "$browser" "$tools/node_modules"
