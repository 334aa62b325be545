#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# web_tests.sh [--build-only] [BUILD_DIR]: builds Quorblex Pro for the web with Debian's
# Emscripten (in build-web unless told otherwise) and runs its tests: quorblex-sim.js under node
# replaying the recorded transcripts of tests/records/ (tests/web/sim_records.sh), and the page in
# headless Chromium (tests/web/web_tests.sh). --build-only builds, so that a later run only
# tests.
#
# Needs no display and no person: runs as root in CI. Ends with one line, PASS or FAIL; the exit
# status says the same.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing "${WEB_PACKAGES[@]}"
# Emscripten's tools run on this machine's node, which finds Debian's modules only here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

build_only=0
if [ "${1:-}" = "--build-only" ]; then
  build_only=1
  shift
fi
dir=${1:-build-web}
start=$(date +%s)
build_folder "$dir" emcmake cmake
built=$(date +%s)
if [ "$build_only" -eq 1 ]; then
  echo "Web build: $((built - start)) s"
  exit 0
fi

status=0
tests/web/sim_records.sh "$dir" || status=1
tests/web/web_tests.sh "$dir" || status=1
done=$(date +%s)

echo "Web build: $((built - start)) s; web tests: $((done - built)) s"
if [ "$status" -eq 0 ]; then
  echo "Web tests: PASS"
else
  echo "Web tests: FAIL"
fi
exit "$status"
