#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening runs, in parts by test.sh (and usable on its own, whole):
#  1. one clang build (build-harden) of the core, the program, the headless host, the tests,
#     the soak and the fuzzers, all with AddressSanitizer, UndefinedBehaviorSanitizer and
#     libFuzzer's coverage instrumentation; the tests run under it (but those named below),
#     each test program whole in a shard a core;
#  2. each libFuzzer target from a copy of its seeds, for a bounded number of inputs or time;
#  3. the soak against the sanitizer build of quorblex-sim: any sanitizer report or leak at a
#     simulator's exit fails it, so this is the leak check too.
#
#   tools/harden.sh          the quick run: each fuzz target's seeds and then a fixed number of
#                            inputs of its own, a second or two of CPU each; soak 20 users x 1
#                            virtual hour
#   tools/harden.sh --long   fuzz 300 s a target, soak 20 users x 24 virtual hours
#   tools/harden.sh --build-only   only the build (test.sh runs it early, in the background)
#   tools/harden.sh --tests-only   step 1's tests, on the build --build-only made
#   tools/harden.sh --fuzz-and-soak [--long]   steps 2 and 3, on that build (test.sh runs
#                            them beside the desktop tests, which leave a core idle)
#
# Prints the figures of each stage and the total time. The environment may override the sizes:
#   HARDEN_FUZZ_SECONDS (fuzz for that long rather than a fixed number of inputs),
#   HARDEN_SOAK_SEEDS, HARDEN_SOAK_HOURS; HARDEN_FUZZ_JOBS, how many fuzz targets run at once (as
#   many as there are cores unless told); HARDEN_SOAK_DRIVER, the soak program that drives the
#   sanitizer build's simulator and checks its transcripts (the sanitizer build's own unless told:
#   test.sh gives it the plain build's, which does the same about ten times quicker, as it is
#   the simulator that is under test).
set -euo pipefail
cd "$(dirname "$0")/.."

long=0
steps=all
for arg in "$@"; do
  case "$arg" in
    --long) long=1 ;;
    --build-only) steps=build ;;
    --tests-only) steps=tests ;;
    --fuzz-and-soak) steps=fuzz-and-soak ;;
    *) echo "usage: tools/harden.sh [--long] [--build-only | --tests-only | --fuzz-and-soak]" >&2
       exit 2 ;;
  esac
done
if [ "$long" -eq 1 ]; then
  fuzz_seconds=${HARDEN_FUZZ_SECONDS:-300}
  soak_hours=${HARDEN_SOAK_HOURS:-24}
else
  fuzz_seconds=${HARDEN_FUZZ_SECONDS:-}
  soak_hours=${HARDEN_SOAK_HOURS:-1}
fi
soak_seeds=${HARDEN_SOAK_SEEDS:-20}
fuzz_jobs=${HARDEN_FUZZ_JOBS:-$(nproc)}
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
source tools/packages.sh

# ---- 1. Sanitizers ------------------------------------------------------------------------
if [ "$steps" = all ] || [ "$steps" = build ]; then
  stage "sanitizer and fuzz build (build-harden, clang++-14)"
  mapfile -t configure < <(configure_args build-harden)
  # -O1 with line tables: the sanitizers' reports keep file and line, and the build is quicker
  # than at -O2 with full debug information. lld links the large instrumented programs quickly.
  cmake -S . -B build-harden "${configure[@]}" -DCMAKE_BUILD_TYPE=Harden \
    -DCMAKE_CXX_FLAGS_HARDEN="-O1 -gline-tables-only" -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld \
    -DQUORBLEX_DESKTOP=OFF -DQUORBLEX_FUZZ=ON -DQUORBLEX_WERROR=ON \
    -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
  cmake --build build-harden -j"$jobs"
  stage_done "sanitizer and fuzz build"
fi
[ "$steps" = build ] && exit 0

if [ "$steps" = all ] || [ "$steps" = tests ]; then
  stage "tests under the sanitizers"
  # Left out here: the soak (step 3); the two odds tests, which replay the same reveal and
  # verdict 100,000 times for their statistics, and two of the profile's stress tests, which
  # save thousands of times from two processes at once or kill the simulator in the middle of
  # saving (every path these take runs under the sanitizers in the other tests: the profile's
  # saves and reads, two programs saving at once, the named temp files; and the plain build runs
  # them in full); and the tests of the source tree's include levels and licences, which read
  # the tree and not a program.
  left_out=('Soak.*' 'Cues.*' 'FullScanOdds.*' 'Levels.*' 'Licences.*'
            'AbducteeVerdict.SharesOverManyOpenings*' 'ProfileStressTest.TwoProcesses*'
            'ProfileStressTest.KilledInTheMiddle*')
  # Each GoogleTest program runs whole, split into as many shards as there are cores (GoogleTest's
  # sharding), rather than in one process a test as ctest runs them: a process of a sanitizer
  # build takes about a tenth of a CPU second to start and to check for leaks at its end, and
  # there are some 170 tests (47 CPU s against 74). Whatever ctest knows of that the programs
  # did not run (a test of another kind, a program not named here), ctest runs after them.
  runs=build-harden/test-runs
  rm -rf "$runs"
  mkdir -p "$runs"
  filter=-$(IFS=:; echo "${left_out[*]}")
  tests_failed=0
  # run_program NAME SHARDS: build-harden/NAME in SHARDS shards at once, each bounded in time.
  run_program() {
    local name=$1 shards=$2 i pids=() status
    for ((i = 0; i < shards; i++)); do
      GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$i timeout 1200 "build-harden/$name" \
        --gtest_filter="$filter" --gtest_brief=1 --gtest_output="xml:$runs/$name-$i.xml" \
        >"$runs/$name-$i.log" 2>&1 &
      pids+=($!)
    done
    for ((i = 0; i < shards; i++)); do
      status=0
      wait "${pids[$i]}" || status=$?
      tail -n 2 "$runs/$name-$i.log" | sed "s/^/$name shard $i: /"
      if [ "$status" -ne 0 ]; then
        cat "$runs/$name-$i.log"
        echo "harden: $name shard $i of $shards failed (status $status)" >&2
        tests_failed=1
      fi
    done
  }
  run_program quorblex_tests "$jobs"
  run_program quorblex_soak_tests 1
  # What ran, as ctest names it (Suite.Test), from the programs' reports; a shard that crashed
  # wrote none.
  { sed -n 's/.*<testcase name="\([^"]*\)".* classname="\([^"]*\)".*/\2.\1/p' "$runs"/*.xml \
      2>/dev/null || true; } | LC_ALL=C sort >"$runs/ran"
  others=()
  while read -r number name; do
    name=${name%%  # *}  # a parameterised test's name ends with "  # GetParam() = ..."
    for pattern in "${left_out[@]}"; do
      # shellcheck disable=SC2053
      [[ $name == $pattern ]] && continue 2
    done
    grep -qxF "$name" "$runs/ran" || others+=("$number")
  done < <(ctest --test-dir build-harden -N | sed -n 's/^ *Test *#\([0-9]*\): /\1 /p')
  if [ ${#others[@]} -gt 0 ]; then
    echo "harden: ${#others[@]} more test(s) through ctest"
    ctest --test-dir build-harden --output-on-failure -j"$jobs" --timeout 600 \
      -I "0,0,0,$(IFS=,; echo "${others[*]}")" || tests_failed=1
  fi
  if [ "$tests_failed" -ne 0 ]; then
    echo "harden: tests failed under the sanitizers" >&2
    exit 1
  fi
  stage_done "tests under the sanitizers"
fi
[ "$steps" = tests ] && exit 0

# ---- 2. Fuzzing ---------------------------------------------------------------------------
if [ -n "$fuzz_seconds" ]; then
  stage "fuzzing, ${fuzz_seconds} s per target"
else
  stage "fuzzing, each target's seeds and then a fixed number of inputs"
fi
fuzz_dir=build-harden/fuzz-runs
rm -rf "$fuzz_dir"
mkdir -p "$fuzz_dir"
# fuzz_one NAME CORPUS RUNS [EXTRA...]: runs build-harden/fuzz/NAME on a copy of
# fuzz/corpus/CORPUS, for RUNS inputs or, when HARDEN_FUZZ_SECONDS or --long says, that long.
fuzz_one() {
  local name=$1 corpus=$2 runs=$3
  shift 3
  local work="$fuzz_dir/$name" bound=-runs=$runs
  [ -n "$fuzz_seconds" ] && bound=-max_total_time=$fuzz_seconds
  mkdir -p "$work/corpus" "$work/artifacts"
  cp -r "fuzz/corpus/$corpus/." "$work/corpus/"
  if "build-harden/fuzz/$name" "$work/corpus" "$bound" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$@" >"$work/log" 2>&1; then
    echo ok >"$work/result"
  else
    echo failed >"$work/result"
  fi
}
# NAME:CORPUS:RUNS. The quick run's inputs a target, a second or two of each alone: a fixed
# amount of work rather than of time, which the stages running beside would share out unevenly.
targets=(Bmp:bmp:16000 Avi:avi:40000 Ini:ini:4000 Wav:wav:5000 Script:script:400)
running=0
for t in "${targets[@]}"; do
  IFS=: read -r target corpus runs <<<"$t"
  name="Fuzz$target"
  if [ ! -x "build-harden/fuzz/$name" ]; then
    echo "harden: build-harden/fuzz/$name was not built" >&2
    exit 1
  fi
  extra=()
  [ "$name" = FuzzScript ] && extra=(-dict=fuzz/script.dict)
  fuzz_one "$name" "$corpus" "$runs" "${extra[@]}" &
  running=$((running + 1))
  if [ "$running" -ge "$fuzz_jobs" ]; then
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
${HARDEN_SOAK_DRIVER:-build-harden/quorblex-soak} --sim build-harden/quorblex-sim \
  --data build-harden/res --seeds "$soak_seeds" --hours "$soak_hours" --jobs "$jobs" \
  --run-timeout 900 --keep build-harden/soak-failures
stage_done "soak"

echo "== harden: all passed in $((SECONDS - start)) s"
