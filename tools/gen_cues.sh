#!/usr/bin/env bash
# Makes every sound cue the program plays: the spoken announcements (espeak-ng, then a sox
# chain that gives the voice its instrument sound) and the scanner beep (sox synth alone).
#
#   tools/gen_cues.sh [OUT_DIR]      (default: res/sounds next to this folder)
#
# Every file comes out mono, 22050 Hz, 16-bit PCM WAV with just a fmt and a data chunk.
# Leading and trailing silence is cut and a 50 ms tail put back, so cues played one after
# another ("Proximity" "80" "meters") run on like one sentence. The output is repeatable:
# the same tools give the same bytes (sox -R, no dither).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-"$root/res/sounds"}

for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "gen_cues: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The voice: a low American English voice, moderately slow, with its pitch range squeezed
# (SSML prosody range) so it reads out flat like an instrument.
readonly VOICE=en-us PITCH=28 SPEED=150
# The instrument sound: cut the boom, a little overdrive and a short flanger for the metallic
# edge, a 60 Hz tremolo for the buzz, then a telephone-like band.
readonly -a COLOUR=(highpass 150 overdrive 8 10 flanger 0 1 0 60 8 sine 25 lin
                    tremolo 60 30 bandpass 1600 1.4k)
# Cut silence (below 0.5 % for more than 10 ms) at both ends, soften the cut edges so they do
# not click, level, then the 50 ms tail.
readonly -a TRIM=(silence 1 0.01 0.5% fade q 0.005 reverse
                  silence 1 0.01 0.5% fade q 0.015 reverse norm -1 pad 0 0.05)
readonly -a FORMAT=(-r 22050 -c 1 -b 16 -e signed-integer)

# speak FILE TEXT [SPEED]
speak() {
  local file=$1 text=$2 speed=${3:-$SPEED}
  local raw="$work/${file%.wav}.raw.wav"
  espeak-ng -m -v "$VOICE" -p "$PITCH" -s "$speed" -w "$raw" \
    "<speak><prosody range=\"x-low\">$text</prosody></speak>"
  sox -R -D -V1 "$raw" "${FORMAT[@]}" -t wav "$out/$file" "${COLOUR[@]}" "${TRIM[@]}"
}

# The scanner beep: 150 ms of a soft-edged square wave at 1250 Hz, not a voice.
sox -R -D -V1 -n "${FORMAT[@]}" -t wav "$out/tone.wav" \
  synth 0.15 square 1250 lowpass 4500 fade h 0.005 0.15 0.03 norm -6 pad 0 0.05

speak welcome.wav  "Welcome to Quorblex Pro"
speak scanning.wav "Scanning"
speak analcomp.wav "Analysis complete"
speak alienpbl.wav "Alien presence probable"
speak aliendet.wav "Alien presence detected"
speak uralien.wav  "You are an alien"
speak noalien.wav  "No alien presence detected" 160
speak prox.wav     "Proximity"
speak 50.wav       "fifty"
speak 60.wav       "sixty"
speak 70.wav       "seventy"
speak 80.wav       "eighty"
speak 90.wav       "ninety"
speak 100.wav      "one hundred"
speak meters.wav   "meters"
speak type.wav     "Type"
speak grey.wav     "grey"
speak green.wav    "green"
speak short.wav    "short"
speak tall.wav     "tall"
# The stress belongs on the second syllable; spelled out in espeak phonemes.
speak amaz         "The Great [[g@z'u:]]!"
speak abductp.wav  "Abduction probability"
speak prob.wav     "probable"
speak imm.wav      "imminent"
speak unknown.wav  "unknown"
speak test.wav     "Test complete"

echo "gen_cues: wrote 27 cues to $out"
