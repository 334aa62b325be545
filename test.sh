#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
#
#   ./test.sh          the whole suite in a few minutes: unit, behaviour, desktop and sound
#                      tests with the package check, brief fuzzing and a short soak beside
#                      them (tools/harden.sh), then the tests under the sanitizers beside
#                      tools/windows_tests.sh (the Windows build under Wine) and
#                      tools/web_tests.sh (the WebAssembly build under node and in Chromium)
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

# await PID LOG WHAT [show]: waits for a stage started in the background; when it failed, shows
# its log and stops the run. With `show` the log is shown either way (a test stage's report).
await() {
  local status=0
  wait "$1" || status=$?
  if [ "${4:-}" = show ] || [ "$status" -ne 0 ]; then cat "$2"; fi
  if [ "$status" -ne 0 ]; then
    echo "test: $3 failed (its log is above)" >&2
    exit 1
  fi
}

jobs=$(nproc)
stage_begin "packages"
# Each build starts as soon as its compiler is in, while the rest installs. The Linux build
# (the Release configuration, as packagers build it, with warnings as errors) comes first: its
# tests are the first to run. The other three run at a lower priority, so that the Linux build
# and then its tests take the cores first; each is done before its tests start.
install_missing "${LINUX_BUILD_PACKAGES[@]}"
mkdir -p build
stage_run "Linux build (build)" \
  bash -c 'source tools/packages.sh && configure_build "$@" && cmake --build build -j"$0"' \
  "$jobs" -DQUORBLEX_SOAK_HOURS="$soak_hours" >build/build.log 2>&1 &
linux_build=$!
# The sanitizer build needs only clang and GoogleTest.
install_missing "${HARDEN_PACKAGES[@]}"
mkdir -p build-harden
stage_run "sanitizer build (build-harden)" nice -n 5 tools/harden.sh --build-only \
  >build-harden/build.log 2>&1 &
harden_build=$!
# The Windows build (mingw-w64) and its Wine prefix.
install_missing "${WINDOWS_PACKAGES[@]}"
mkdir -p build-windows
stage_run "Windows build (build-windows)" nice -n 5 tools/windows_tests.sh --build-only \
  >build-windows/build.log 2>&1 &
windows_build=$!
install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
stage_end "packages"
echo "== test: packages ready after $((SECONDS - start)) s"
# The web's packages (Emscripten, Chromium) and its build (build-web/) last, while the Linux
# tests run: its tests are the last to start.
mkdir -p build-web
stage_run "web packages and build (build-web)" nice -n 5 tools/web_tests.sh --build-only \
  >build-web/build.log 2>&1 &
web_build=$!

await "$linux_build" build/build.log "the Linux build"
echo "== test: built after $((SECONDS - start)) s"
# The desktop tests mostly wait on the X server and the screen reader, leaving a core idle: the
# Debian package is built and checked beside them (lintian keeps a core busy), and so is all
# of the sanitizer stage, at a lower priority so that it takes only what the tests leave: the
# fuzzers from their seeds, then the soak; and the tests under the sanitizers, which keep no
# clock.
stage_run "package check" tools/check_package.sh build >build/package-check.log 2>&1 &
package_check=$!
# Both start once the sanitizer build is done, if it is not yet.
after_harden_build() { tail --pid="$harden_build" -f /dev/null; "$@"; }
# The soak is driven by the plain build's soak program: the simulator under the sanitizers is
# what it tests.
HARDEN_SOAK_DRIVER=build/quorblex-soak after_harden_build stage_run "fuzzing, soak (sanitizers)" \
  nice -n 10 tools/harden.sh --fuzz-and-soak "${long[@]}" >build-harden/fuzz-and-soak.log 2>&1 &
fuzz_and_soak=$!
after_harden_build stage_run "tests under the sanitizers" \
  nice -n 10 tools/harden.sh --tests-only >build-harden/test.log 2>&1 &
harden_tests=$!
stage_run "unit, behaviour, desktop, sound tests" \
  ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600
echo "== test: tests passed after $((SECONDS - start)) s"

await "$windows_build" build-windows/build.log "the Windows build"
# The Windows programs under Wine (the core's tests, the recorded transcripts, the desktop
# program on a private display, the installer) keep clocks of their own: they start once the
# desktop tests are done, beside what is left of the sanitizer stage; their report follows at
# the end.
stage_run "Windows tests under Wine" tools/windows_tests.sh >build-windows/test.log 2>&1 &
windows_tests=$!
# The web host's tests in Chromium and the WebAssembly simulator's transcripts likewise.
await "$web_build" build-web/build.log "the web build"
stage_run "web tests in node and Chromium" tools/web_tests.sh >build-web/test.log 2>&1 &
web_tests=$!

await "$package_check" build/package-check.log "the package check" show
await "$harden_build" build-harden/build.log "the sanitizer build"
await "$harden_tests" build-harden/test.log "the tests under the sanitizers" show
await "$fuzz_and_soak" build-harden/fuzz-and-soak.log "the fuzzing and soak" show
await "$windows_tests" build-windows/test.log "the Windows tests" show
await "$web_tests" build-web/test.log "the web tests" show
echo "== test: all passed in $((SECONDS - start)) s"
