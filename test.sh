#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#
#   ./test.sh          the whole suite in a few minutes: unit, behaviour, desktop and sound
#                      tests, then tools/harden.sh (sanitizers, brief fuzzing, a short soak)
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
install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
echo "== test: packages ready after $((SECONDS - start)) s"

jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The Release configuration, as packagers build it, with warnings as errors.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQUORBLEX_WERROR=ON \
  -DQUORBLEX_SOAK_HOURS="$soak_hours" "${launcher[@]}" >/dev/null
cmake --build build -j"$jobs"
echo "== test: built after $((SECONDS - start)) s"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600
echo "== test: tests passed after $((SECONDS - start)) s"

# The same tests under the sanitizers, the fuzzers from their seeds, and the soak.
tools/harden.sh "${long[@]}"
echo "== test: all passed in $((SECONDS - start)) s"
