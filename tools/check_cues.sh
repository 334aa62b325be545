#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the sound cues by measurement, since nobody listens to them on a build machine.
#
#   tools/check_cues.sh [DIR]        (default: res/sounds next to this folder)
#
# For each of the 27 cues: it must exist; be mono 22050 Hz 16-bit signed PCM WAV with no chunks
# beyond fmt and data; last exactly the milliseconds of the table below; and be clearly louder
# than silence without clipping. Spoken cues must also be long enough to hold a word, and the
# beep must sit near its pitch. Prints a table (name, length, RMS and peak amplitude) and exits
# 1 on any failure.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-"$root/res/sounds"}

# Each cue's length in milliseconds as the program computes it from the header (whole samples,
# rounded to the nearest millisecond). The program's virtual time advances by these while a
# cue plays, so every simulator transcript depends on them: a regenerated cue keeps its length.
declare -rA LENGTH_MS=(
  [welcome.wav]=1865 [scanning.wav]=569 [tone.wav]=200 [analcomp.wav]=1287
  [alienpbl.wav]=1628 [aliendet.wav]=1661 [uralien.wav]=871 [noalien.wav]=1694
  [prox.wav]=795 [50.wav]=509 [60.wav]=595 [70.wav]=683 [80.wav]=441 [90.wav]=580
  [100.wav]=906 [meters.wav]=539 [type.wav]=402 [grey.wav]=396 [green.wav]=440
  [short.wav]=506 [tall.wav]=442 [amaz]=1018 [abductp.wav]=1541 [prob.wav]=677
  [imm.wav]=537 [unknown.wav]=659 [test.wav]=1051)
readonly CUES=(welcome.wav scanning.wav tone.wav analcomp.wav alienpbl.wav aliendet.wav
               uralien.wav noalien.wav prox.wav 50.wav 60.wav 70.wav 80.wav 90.wav 100.wav
               meters.wav type.wav grey.wav green.wav short.wav tall.wav amaz abductp.wav
               prob.wav imm.wav unknown.wav test.wav)
readonly MAX_SPOKEN=2.5 MAX_TONE=0.3 MIN_SPOKEN=0.25
# A cue's RMS must be at least this; real speech here sits near 0.07..0.15, and the silence
# reference below must measure under it too, or the yardstick itself is broken.
readonly MIN_RMS=0.01

command -v sox >/dev/null || { echo "check_cues: sox is not installed" >&2; exit 1; }
[[ -d $dir ]] || { echo "check_cues: no folder $dir" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL $1: $2"; failures=$((failures + 1)); }
# awk does the decimal comparisons: lt A B is true when A < B.
lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
rms_of() { sox "$1" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }'; }
# The largest sample as a fraction of full scale; 1 means the cue clips.
peak_of() { sox "$1" -n stat 2>&1 | awk '/^Maximum amplitude/ { a = $3 } /^Minimum amplitude/ {
                                        b = -$3 } END { print (a > b ? a : b) }'; }
freq_of() { sox "$1" -n stat 2>&1 | awk '/^Rough +frequency/ { print $3 }'; }

# The yardstick: one second of digital silence in the cue format measures as silence.
sox -n -r 22050 -c 1 -b 16 "$work/silence.wav" trim 0 1
silence_rms=$(rms_of "$work/silence.wav")
if ! lt "$silence_rms" "$MIN_RMS"; then
  fail silence "reference silence measured RMS $silence_rms"
fi

printf '%-14s %9s %9s %9s\n' name length_ms rms peak
printf '%-14s %9d %9.4f %9.4f\n' "(silence)" 1000 "$silence_rms" "$(peak_of "$work/silence.wav")"
for name in "${CUES[@]}"; do
  file="$dir/$name"
  if [[ ! -f $file ]]; then
    printf '%-14s %9s %9s %9s\n' "$name" - - -
    fail "$name" "missing"
    continue
  fi
  len=$(sox --i -D "$file" 2>/dev/null) || len=
  rms=$(rms_of "$file") peak=$(peak_of "$file")
  samples=$(sox --i -s "$file" 2>/dev/null) || samples=
  rate=$(sox --i -r "$file" 2>/dev/null) || rate=
  # As the program counts: whole samples, rounded to the nearest millisecond.
  ms=$(( ${rate:-0} > 0 ? (${samples:-0} * 1000 + rate / 2) / rate : 0 ))
  printf '%-14s %9d %9.4f %9.4f\n' "$name" "$ms" "${rms:-0}" "${peak:-0}"
  if [[ -z $len || -z $rms || -z $samples || -z $rate ]]; then
    fail "$name" "sox cannot read it"
    continue
  fi

  chans=$(sox --i -c "$file") bits=$(sox --i -b "$file")
  enc=$(sox --i -e "$file") type=$(sox --i -t "$file")
  [[ $type == wav && $rate == 22050 && $chans == 1 && $bits == 16 && $enc == Signed* ]] ||
    fail "$name" "format is $type $rate Hz $chans ch $bits bit $enc"
  # A plain RIFF/WAVE file: 44 header bytes then the samples, nothing else.
  size=$(stat -c %s "$file")
  ((size == 44 + 2 * samples)) || fail "$name" "$size bytes for $samples samples: extra chunks"
  ((ms == LENGTH_MS[$name])) ||
    fail "$name" "lasts $ms ms, the program counts on ${LENGTH_MS[$name]} ms"
  lt "$peak" 0.999 || fail "$name" "peak $peak: it clips"

  lt "$rms" "$MIN_RMS" && fail "$name" "RMS $rms is next to silence ($silence_rms)"
  if [[ $name == tone.wav ]]; then
    lt "$len" "$MAX_TONE" || fail "$name" "beep lasts $len s, must be under $MAX_TONE s"
    freq=$(freq_of "$file")
    lt 900 "$freq" && lt "$freq" 1700 || fail "$name" "beep pitch $freq Hz is off 1250 Hz"
  else
    lt "$MAX_SPOKEN" "$len" && fail "$name" "lasts $len s, limit $MAX_SPOKEN s"
    lt "$len" "$MIN_SPOKEN" && fail "$name" "lasts only $len s, too short for a word"
  fi
done

extra=$(comm -23 <(ls -1 "$dir" | sort) <(printf '%s\n' "${CUES[@]}" | sort))
[[ -n $extra ]] && fail "$dir" "unexpected files: $(echo $extra)"

if ((failures)); then
  echo "check_cues: $failures failure(s)"
  exit 1
fi
echo "check_cues: all ${#CUES[@]} cues pass"
