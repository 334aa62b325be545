#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes every sound cue the program plays: the spoken announcements (flite's "rms" voice, a
# US English male voice, then a light sox chain that gives it the instrument sound) and the
# scanner beep (sox synth alone).
#
#   tools/gen_cues.sh [OUT_DIR]      (default: res/sounds next to this folder)
#
# Needs flite and sox (Debian packages of those names).
#
# Every file comes out mono, 22050 Hz, 16-bit PCM WAV with just a fmt and a data chunk, and
# exactly as many samples as its line in the table below says. The program times a cue by
# its length, so these counts are part of its behaviour: a new voice is fitted to them (the
# voice's own duration control first, then a small tempo change, then silence at the end),
# never the other way round. Speech starts at the first sample and ends with at least 50 ms
# of quiet, so cues played one after another ("Proximity" "80" "meters") run on like one
# sentence. The output is repeatable: the same tools give the same bytes (sox -R, no dither).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-"$root/res/sounds"}

for tool in flite sox awk; do
  command -v "$tool" >/dev/null || { echo "gen_cues: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

readonly VOICE=rms RATE=22050
# Cut the voice's silence (below 0.5 % of its peak for more than 10 ms) at both ends, and
# soften the cut edges so they do not click.
readonly -a TRIM=(norm -1 silence 1 0.01 0.5% fade q 0.005 reverse
                  silence 1 0.01 0.5% fade q 0.015 reverse)
# The instrument sound, lighter than a telephone: cut the boom, a touch of overdrive and a
# shallow flanger for the metallic edge, a faint 60 Hz tremolo for the buzz, a lift where the
# consonants live, and the top rolled off. (Levelled to 1 dB under full scale only on the way:
# LEVEL_RMS below sets the final level.)
readonly -a COLOUR=(highpass 120 overdrive 3 10 flanger 0 0.6 0 35 4 sine 25 lin
                    tremolo 60 12 equalizer 2500 1.5q 3 lowpass 7000 norm -1)
readonly -a FORMAT=(-r "$RATE" -c 1 -b 16 -e signed-integer)
# The quiet every spoken cue ends with, and how far the voice may be stretched or squeezed
# by its own duration control to fit its length.
readonly TAIL=$((RATE / 20)) STRETCH_MIN=0.7 STRETCH_MAX=1.2
# Every spoken cue is levelled to this RMS amplitude (-20 dBFS), as loud as the cues have
# always been on average, and all alike.
readonly LEVEL_RMS=0.1

# say STRETCH TEXT OUT: the coloured, trimmed voice at 22050 Hz; prints its sample count.
say() {
  flite -voice "$VOICE" --setf duration_stretch="$1" -t "$2" -o "$work/voice.wav"
  sox -R -D -V1 "$work/voice.wav" "${FORMAT[@]}" -t wav "$3" rate -v "${TRIM[@]}" "${COLOUR[@]}"
  sox --i -s "$3"
}

# cue FILE SAMPLES "WORDS" ["HOW THE VOICE IS TOLD TO SAY THEM"]
# WORDS are the words a listener should hear; tools/recognise_cues.py reads them from here.
cue() {
  local file=$1 samples=$2 text=${4:-$3}
  local room=$((samples - TAIL)) stretch=1 got pass tempo
  # The duration control is not quite proportional: two corrections bring it close.
  got=$(say "$stretch" "$text" "$work/speech.wav")
  for pass in 1 2; do
    stretch=$(awk -v s="$stretch" -v r="$room" -v g="$got" -v lo="$STRETCH_MIN" \
      -v hi="$STRETCH_MAX" 'BEGIN { s *= r / g; if (s < lo) s = lo; if (s > hi) s = hi
                                    printf "%.3f", s }')
    got=$(say "$stretch" "$text" "$work/speech.wav")
  done
  # What the duration control could not fit, a tempo change does (speech mode, no pitch
  # change); aiming 1 % short keeps the speech clear of the cut below.
  tempo=()
  if ((got > room)); then
    tempo=(tempo -s "$(awk -v g="$got" -v r="$room" 'BEGIN { printf "%.4f", g / (0.99 * r) }')")
  fi
  local rms level
  rms=$(sox "$work/speech.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }')
  level=$(awk -v a="$rms" -v t="$LEVEL_RMS" 'BEGIN { printf "%.2f", 20 * log(t / a) / log(10) }')
  sox -R -D -V1 "$work/speech.wav" "${FORMAT[@]}" -t wav "$out/$file" \
    "${tempo[@]}" gain "$level" pad 0 1 trim 0 "${samples}s"
  local speech
  speech=$(awk -v g="$got" -v t="${tempo[2]:-1}" 'BEGIN { printf "%d", g / t }')
  printf 'gen_cues: %-13s stretch %s%s, speech %s of %s samples\n' "$file" "$stretch" \
    "${tempo[*]:+, ${tempo[*]}}" "$speech" "$samples"
}

# The scanner beep: 150 ms of a soft-edged square wave at 1250 Hz, not a voice.
sox -R -D -V1 -n "${FORMAT[@]}" -t wav "$out/tone.wav" \
  synth 0.15 square 1250 lowpass 4500 fade h 0.005 0.15 0.03 norm -6 pad 0 0.05

cue welcome.wav  41129 "Welcome to Quorblex Pro"
cue scanning.wav 12544 "Scanning"
cue analcomp.wav 28382 "Analysis complete"
cue alienpbl.wav 35905 "Alien presence probable"
cue aliendet.wav 36627 "Alien presence detected"
cue uralien.wav  19210 "You are an alien"
cue noalien.wav  37363 "No alien presence detected"
cue prox.wav     17537 "Proximity"
cue 50.wav       11216 "fifty"
cue 60.wav       13118 "sixty"
cue 70.wav       15070 "seventy"
cue 80.wav        9724 "eighty"
cue 90.wav       12783 "ninety"
cue 100.wav      19983 "one hundred"
cue meters.wav   11886 "meters"
cue type.wav      8855 "Type"
cue grey.wav      8729 "grey"
cue green.wav     9703 "green"
cue short.wav    11162 "short"
cue tall.wav      9740 "tall"
cue amaz         22446 "The Great Gazoo!"
cue abductp.wav  33981 "Abduction probability"
cue prob.wav     14924 "probable"
cue imm.wav      11849 "imminent"
cue unknown.wav  14536 "unknown"
cue test.wav     23166 "Test complete"

echo "gen_cues: wrote 27 cues to $out"
