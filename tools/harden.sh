#!/usr/bin/env bash
# Hardening runs, called at the end of test.sh (and usable on its own):
#  1. the core, the program and the headless host built with AddressSanitizer and
#     UndefinedBehaviorSanitizer (build-asan), and every test but the soak run under them;
#  2. each libFuzzer target (build-fuzz, clang) for a bounded time from a copy of its seeds;
#  3. the soak, 20 users x 24 virtual hours, against the sanitizer build of quorblex-sim: any
#     sanitizer report or leak at a simulator's exit fails it, so this is the leak check too.
# Prints the figures of each stage and the total time. Tunable from the environment:
#   HARDEN_FUZZ_SECONDS (30 per target), HARDEN_SOAK_SEEDS (20), HARDEN_SOAK_HOURS (24).
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${HARDEN_FUZZ_SECONDS:-30}
soak_seeds=${HARDEN_SOAK_SEEDS:-20}
soak_hours=${HARDEN_SOAK_HOURS:-24}
jobs=$(nproc)
start=$SECONDS
stage_start=$SECONDS

stage() {
  echo "== harden: $1 (after $((SECONDS - start)) s)"
  stage_start=$SECONDS
}
stage_done() { echo "== harden: $1 took $((SECONDS - stage_start)) s"; }

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# ---- 1. Sanitizers ------------------------------------------------------------------------
stage "sanitizer build (build-asan)"
# GCC's maybe-uninitialized analysis misfires on libstdc++'s own code (std::function inside
# std::regex) once AddressSanitizer instruments it; the plain build keeps the warning.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBLEX_DESKTOP=OFF \
  -DQUORBLEX_SANITIZE=ON -DQUORBLEX_WERROR=ON -DCMAKE_CXX_FLAGS=-Wno-maybe-uninitialized >/dev/null
cmake --build build-asan -j"$jobs"
if [ ! -x build-asan/quorblex-soak ]; then
  echo "harden: build-asan has no quorblex-soak: the top CMakeLists.txt must include cmake/Soak.cmake" >&2
  exit 1
fi
stage_done "sanitizer build"

stage "tests under the sanitizers"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600 -E '^Soak\.'
stage_done "tests under the sanitizers"

# ---- 2. Fuzzing ---------------------------------------------------------------------------
stage "fuzz build (build-fuzz, clang++-14)"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBLEX_DESKTOP=OFF \
  -DQUORBLEX_FUZZ=ON -DQUORBLEX_WERROR=ON -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz --target quorblex_fuzzers -j"$jobs"
stage_done "fuzz build"

stage "fuzzing, ${fuzz_seconds} s per target"
fuzz_dir=build-fuzz/runs
rm -rf "$fuzz_dir"
mkdir -p "$fuzz_dir"
# fuzz_one NAME CORPUS [EXTRA...]: runs build-fuzz/fuzz/NAME on a copy of fuzz/corpus/CORPUS.
fuzz_one() {
  local name=$1 corpus=$2
  shift 2
  local work="$fuzz_dir/$name"
  mkdir -p "$work/corpus" "$work/artifacts"
  cp -r "fuzz/corpus/$corpus/." "$work/corpus/"
  if "build-fuzz/fuzz/$name" "$work/corpus" -max_total_time="$fuzz_seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$@" >"$work/log" 2>&1; then
    echo ok >"$work/result"
  else
    echo failed >"$work/result"
  fi
}
targets=()
for t in Bmp:bmp Avi:avi Ini:ini Wav:wav Script:script; do
  [ -x "build-fuzz/fuzz/Fuzz${t%%:*}" ] && targets+=("$t")
done
running=0
for t in "${targets[@]}"; do
  name="Fuzz${t%%:*}"
  extra=()
  [ "$name" = FuzzScript ] && extra=(-dict=fuzz/script.dict)
  fuzz_one "$name" "${t##*:}" "${extra[@]}" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait
fuzz_failed=0
for t in "${targets[@]}"; do
  name="Fuzz${t%%:*}"
  work="$fuzz_dir/$name"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
  files=$(find "$work/corpus" -type f | wc -l)
  printf '%-11s %10s executions, corpus %d files: %s\n' "$name" "${execs:-?}" "$files" \
    "$(cat "$work/result")"
  if [ "$(cat "$work/result")" != ok ]; then
    fuzz_failed=1
    grep -E 'ERROR|invariant broken|SUMMARY|Test unit written' "$work/log" | head -20 || true
    ls "$work/artifacts"
  fi
done
stage_done "fuzzing"
if [ "$fuzz_failed" -ne 0 ]; then
  echo "harden: a fuzzer found a fault; its input is in $fuzz_dir/*/artifacts" >&2
  exit 1
fi

# ---- 3. Soak and leak check ---------------------------------------------------------------
stage "soak under the sanitizers: $soak_seeds users x $soak_hours virtual hours"
build-asan/quorblex-soak --sim build-asan/quorblex-sim --data build-asan/res \
  --seeds "$soak_seeds" --hours "$soak_hours" --jobs "$jobs" --run-timeout 900 \
  --keep build-asan/soak-failures
stage_done "soak"

echo "== harden: all passed in $((SECONDS - start)) s"
