#!/usr/bin/env bash
# Checks the sound cues by measurement, since nobody listens to them on a build machine.
#
#   tools/check_cues.sh [DIR]        (default: res/sounds next to this folder)
#
# For each of the 27 cues: it must exist; be mono 22050 Hz 16-bit signed PCM WAV with no chunks
# beyond fmt and data; last at most 2.5 s (the beep under 0.3 s); and be clearly louder than
# silence. Spoken cues must also be long enough to hold a word, and the beep must sit near its
# pitch. Prints a table (name, length in seconds, RMS amplitude) and exits 1 on any failure.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-"$root/res/sounds"}

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
freq_of() { sox "$1" -n stat 2>&1 | awk '/^Rough +frequency/ { print $3 }'; }

# The yardstick: one second of digital silence in the cue format measures as silence.
sox -n -r 22050 -c 1 -b 16 "$work/silence.wav" trim 0 1
silence_rms=$(rms_of "$work/silence.wav")
if ! lt "$silence_rms" "$MIN_RMS"; then
  fail silence "reference silence measured RMS $silence_rms"
fi

printf '%-14s %9s %9s\n' name length_s rms
printf '%-14s %9.3f %9.4f\n' "(silence)" "$(sox --i -D "$work/silence.wav")" "$silence_rms"
for name in "${CUES[@]}"; do
  file="$dir/$name"
  if [[ ! -f $file ]]; then
    printf '%-14s %9s %9s\n' "$name" - -
    fail "$name" "missing"
    continue
  fi
  len=$(sox --i -D "$file" 2>/dev/null) || len=
  rms=$(rms_of "$file")
  printf '%-14s %9.3f %9.4f\n' "$name" "${len:-0}" "${rms:-0}"
  if [[ -z $len || -z $rms ]]; then
    fail "$name" "sox cannot read it"
    continue
  fi

  rate=$(sox --i -r "$file") chans=$(sox --i -c "$file") bits=$(sox --i -b "$file")
  enc=$(sox --i -e "$file") type=$(sox --i -t "$file")
  [[ $type == wav && $rate == 22050 && $chans == 1 && $bits == 16 && $enc == Signed* ]] ||
    fail "$name" "format is $type $rate Hz $chans ch $bits bit $enc"
  # A plain RIFF/WAVE file: 44 header bytes then the samples, nothing else.
  samples=$(sox --i -s "$file")
  size=$(stat -c %s "$file")
  ((size == 44 + 2 * samples)) || fail "$name" "$size bytes for $samples samples: extra chunks"

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
