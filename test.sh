#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
#
#   ./test.sh          the whole suite in a few minutes: unit, behaviour, desktop and sound
#                      tests and the package check; beside them tools/harden.sh (sanitizers,
#                      brief fuzzing, a short soak) and tools/windows_tests.sh (the Windows
#                      build under Wine)
#   ./test.sh --long   the same with the full soak (20 users x 24 virtual hours) and
#                      five minutes of fuzzing a target
set -euo pipefail
cd "$(dirname "$0")"

long=()
soak_hours=1
for arg in "$@"; do
  case "$arg" in
    --long) long=(--long); soak_hours=24 ;;
    *) echo "usage: ./test.sh [--long]" >&2; exit 2 ;;
  esac
done

start=$SECONDS
source tools/packages.sh
source tools/stages.sh
# Where the time went, also when a stage fails.
trap 'echo "== test: where the time went"; stage_table; rm -f "$STAGE_LOG"' EXIT

# Each toolchain's build starts as soon as its compiler is installed, and its tests follow it
# at once, in the background, beside everything else: most tests wait on real events (an X
# server, Wine, a speech recogniser) much of their time, so the two cores are kept busy by the
# others. Each chain writes a log of its own, shown at the end.
stage_begin "packages"
# The sanitizer build needs only clang and GoogleTest; then the same tests under the
# sanitizers, the fuzzers from their seeds, and the soak.
install_missing "${HARDEN_PACKAGES[@]}"
mkdir -p build-harden
(
  stage_run "sanitizer build (build-harden)" tools/harden.sh --build-only
  stage_run "sanitizer tests, fuzzing, soak" tools/harden.sh "${long[@]}"
) >build-harden/test.log 2>&1 &
harden=$!
# The Windows build (mingw-w64) and its Wine prefix; then its programs under Wine: the core's
# tests, the recorded transcripts, the desktop program on a private display, the installer.
install_missing "${WINDOWS_PACKAGES[@]}"
mkdir -p build-windows
(
  stage_run "Windows build (build-windows)" tools/windows_tests.sh --build-only
  stage_run "Windows tests under Wine" tools/windows_tests.sh
) >build-windows/test.log 2>&1 &
windows=$!
# The web build (Emscripten, build-web/) goes here in the same way once its compiler is in:
# install its packages, then, in the background with its log in build-web/, a stage that runs
# `tools/web_tests.sh --build-only` and one that runs its tests (the web host in Chromium, the
# WebAssembly simulator's transcripts); it is waited for and reported at the end with the rest.
install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
stage_end "packages"
echo "== test: packages ready after $((SECONDS - start)) s"

jobs=$(nproc)
# The Release configuration, as packagers build it, with warnings as errors.
stage_begin "Linux build (build)"
configure_build -DQUORBLEX_SOAK_HOURS="$soak_hours"
cmake --build build -j"$jobs"
stage_end "Linux build (build)"
echo "== test: built after $((SECONDS - start)) s"
# The Debian package is built and checked beside the tests: lintian, the longest of its checks,
# keeps one core busy while the desktop tests mostly wait on the X server.
stage_run "package check" tools/check_package.sh build >build/package-check.log 2>&1 &
package_check=$!
linux_status=0
stage_run "unit, behaviour, desktop, sound tests" \
  ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600 || linux_status=$?
echo "== test: Linux tests ended after $((SECONDS - start)) s"

# What ran beside, each with its log; every failure is named before the run fails.
failed=()
report() {  # NAME PID LOG
  local status=0
  wait "$2" || status=$?
  cat "$3"
  echo "== test: $1 ended after $((SECONDS - start)) s"
  [ "$status" -eq 0 ] || failed+=("$1 (its log is above: $3)")
}
report "package check" "$package_check" build/package-check.log
report "sanitizer stage" "$harden" build-harden/test.log
report "Windows stage" "$windows" build-windows/test.log
[ "$linux_status" -eq 0 ] || failed+=("the Linux tests (ctest's report is above)")
if [ ${#failed[@]} -gt 0 ]; then
  printf 'test: failed: %s\n' "${failed[@]}" >&2
  exit 1
fi
echo "== test: all passed in $((SECONDS - start)) s"
