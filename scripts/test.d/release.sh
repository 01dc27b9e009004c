#!/bin/sh
# SPDX-License-Identifier: MIT
# The release: every package built twice and compared byte for byte, lintian on the Debian
# packages (scripts/release.sh), then each package used as its users use it
# (tests/install/run).
set -eu
cd "$(dirname "$0")/../.."
sh scripts/release.sh
sh tests/install/run
