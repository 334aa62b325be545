#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# windows_tests.sh [--build-only] [BUILD_DIR]: builds Quorblex Pro for Windows with mingw-w64 (in
# build-windows unless told otherwise) and runs its tests under Wine: the core's unit and
# behaviour tests, cross-compiled, and quorblex-sim.exe replaying the recorded transcripts of
# tests/records/. --build-only builds and makes the Wine prefix, so that a later run only tests
# (./test.sh builds while its other stages run).
# Every check is a ctest test of the Windows build folder (cmake/WindowsTests.cmake and the
# files it names), run through tools/wine_run.sh in a Wine prefix inside the folder; a new check
# is one add_test there, and this script runs it with the rest.
#
# Needs no display and no person: runs as root in CI. Ends with one line, PASS or FAIL; the exit
# status says the same. QUORBLEX_CTEST_ARGS adds arguments to ctest (-R Transcript, say).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing "${WINDOWS_PACKAGES[@]}"
# Wine names files in the locale's character set, and the tests make files such as Zoë.ini: a
# shell without a UTF-8 locale (a bare root login has none) could not name them.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8

build_only=0
if [ "${1:-}" = "--build-only" ]; then
  build_only=1
  shift
fi
dir=${1:-build-windows}
start=$(date +%s)
build_folder "$dir" cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
built=$(date +%s)
prefix=$(cd "$dir" && pwd)/wineprefix
tools/wine_run.sh "$prefix" cmd /c exit 0  # makes the prefix when there is none yet
# ... and the one quorblex.exe's checks share, with Wine's fonts and no window manager.
(source tests/windows/desktop.sh && desktop_prefix "$dir" && desktop_stop)
if [ "$build_only" -eq 1 ]; then
  echo "Windows build: $((built - start)) s; Wine prefix: $(($(date +%s) - built)) s"
  exit 0
fi

status=0
# shellcheck disable=SC2086
ctest --test-dir "$dir" -j2 --output-on-failure ${QUORBLEX_CTEST_ARGS:-} || status=$?
# The prefix's Wine server and anything a failed test left running in it; no other prefix's.
WINEPREFIX=$prefix PATH=$PATH:/usr/lib/wine wineserver -k 2>/dev/null || true
done=$(date +%s)

echo "Windows build: $((built - start)) s; Windows tests under Wine: $((done - built)) s"
if [ "$status" -eq 0 ]; then
  echo "Windows tests: PASS"
else
  echo "Windows tests: FAIL (ctest in $dir says which)"
fi
exit "$status"
