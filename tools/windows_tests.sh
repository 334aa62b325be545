#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# windows_tests.sh [BUILD_DIR]: builds Quorblex Pro for Windows with mingw-w64 (in build-windows
# unless told otherwise) and runs its tests under Wine: the core's unit and behaviour tests,
# cross-compiled, and quorblex-sim.exe replaying the recorded transcripts of tests/records/.
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

dir=${1:-build-windows}
start=$(date +%s)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  # shellcheck disable=SC2046
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DQUORBLEX_WERROR=ON $(configure_args "$dir")
fi
cmake --build "$dir" -j2
built=$(date +%s)

status=0
# shellcheck disable=SC2086
ctest --test-dir "$dir" -j2 --output-on-failure ${QUORBLEX_CTEST_ARGS:-} || status=$?
# The prefix's Wine server and anything a failed test left running in it; no other prefix's.
WINEPREFIX=$(cd "$dir" && pwd)/wineprefix PATH=$PATH:/usr/lib/wine wineserver -k 2>/dev/null || true
done=$(date +%s)

echo "Windows build: $((built - start)) s; Windows tests under Wine: $((done - built)) s"
if [ "$status" -eq 0 ]; then
  echo "Windows tests: PASS"
else
  echo "Windows tests: FAIL (ctest in $dir says which)"
fi
exit "$status"
