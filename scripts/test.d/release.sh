#!/bin/sh
# SPDX-License-Identifier: MIT
# The release's packages, built once, and lintian on the Debian ones (scripts/release.sh
# --once; the release itself builds twice and compares, which would add two minutes here),
# then each package used as its users use it, and the shared library's binary interface
# held against the releases' (tests/install/run).
set -eu
cd "$(dirname "$0")/../.."
sh scripts/release.sh --once
sh tests/install/run
