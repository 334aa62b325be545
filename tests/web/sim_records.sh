#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# sim_records.sh [BUILD_DIR]: the simulator built for node (BUILD_DIR/quorblex-sim.js, build-web
# unless told otherwise) replays the recorded transcripts of tests/records/ and must print them
# byte for byte, as the Linux and Windows programs do: every script of the fuzz corpus, and an
# hour of the soak's random use for each generator seed of tests/records/hours.txt.
# A transcript is standard output, a line with the exit status, then standard error; a long one
# is kept as its length and SHA-256. A mismatch leaves its run in a folder named in the failure.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$src/build-web}" && pwd)
node=${NODE:-node}
sim=("$node" "$build/quorblex-sim.js" --data "$build/res")
work=$(mktemp -d /tmp/quorblex-web-records-XXXXXX)
failures=0

measure() { echo "$(stat -c %s "$1") $(sha256sum <"$1" | cut -d' ' -f1)"; }

# run NAME ARGS...: the script NAME.script of the run's folder through the simulator; the
# profile starts absent in that folder.
run() {
  local name=$1 dir=$work/$1
  shift
  "${sim[@]}" "$@" --profile "$dir/quorblex.ini" "$dir/$name.script" >"$dir/stdout" 2>"$dir/stderr"
  local status=$?
  { cat "$dir/stdout"; echo "status $status"; cat "$dir/stderr"; } >"$dir/$name.out"
}

fail() {
  echo "FAIL: $1 (kept in $work/$2)"
  failures=$((failures + 1))
}

for script in "$src"/fuzz/corpus/script/*.script; do
  name=$(basename "$script" .script)
  mkdir -p "$work/$name"
  cp "$script" "$work/$name/"
  run "$name" --seed 1 --trace
  if [ -f "$src/tests/records/$name.out" ]; then
    cmp -s "$work/$name/$name.out" "$src/tests/records/$name.out" || fail "$name" "$name"
  elif [ "$(measure "$work/$name/$name.out")" != "$(cat "$src/tests/records/$name.sha256")" ]; then
    fail "$name" "$name"
  fi
done

while read -r key && read -r value; do
  # generator SEED args ARGS...
  read -r _ seed _ args <<<"$key"
  name=hour$seed
  mkdir -p "$work/$name"
  "$node" "$build/quorblex-hour-script.js" "$seed" 3600000 >"$work/$name/$name.script"
  # shellcheck disable=SC2086
  run "$name" $args
  got="script $(measure "$work/$name/$name.script") transcript $(measure "$work/$name/$name.out")"
  [ "$got" = "$value" ] || fail "$key" "$name"
done <"$src/tests/records/hours.txt"

if [ "$failures" -eq 0 ]; then
  rm -rf "$work"
  echo "Web simulator: every recorded transcript replays byte for byte"
  exit 0
fi
exit 1
