#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the seed files of the WAV fuzzer into fuzz/corpus/wav: one small file for each codec
# and chunk layout the cue reader knows, plus the awkward shapes (data before fmt, an odd
# chunk, a streamed header, a file cut short). Every byte is made here.
set -euo pipefail
out="$(cd "$(dirname "$0")" && pwd)/corpus/wav"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Little-endian numbers as raw bytes.
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
bytes() { local n=$1 v=$2; for ((i = 0; i < n; ++i)); do printf "\\x$(printf %02x $(((v + i * 37) & 255)))"; done; }

# chunk ID BODYFILE [DECLARED]: the chunk with its pad byte; DECLARED overrides the size field.
chunk() {
  local size; size=$(stat -c %s "$2")
  printf '%s' "$1"; le32 "${3:-$size}"; cat "$2"
  if ((size & 1)); then printf '\x00'; fi
}
# fmt TAG CHANNELS RATE ALIGN BITS [EXTRA-BYTES-FILE]
fmt() {
  local body; body=$(mktemp -p "$work")
  { le16 "$1"; le16 "$2"; le32 "$3"; le32 $(($3 * $4)); le16 "$4"; le16 "$5"
    if [ -n "${6:-}" ]; then cat "$6"; fi; } >"$body"
  chunk "fmt " "$body"; rm -f "$body"
}
data() { local body; body=$(mktemp -p "$work"); bytes "$1" "${2:-85}" >"$body"; chunk data "$body" "${3:-}"; rm -f "$body"; }
# riff NAME [DECLARED] < chunks: wraps the chunks read from stdin into a RIFF WAVE file.
riff() {
  local body; body=$(mktemp -p "$work")
  { printf WAVE; cat; } >"$body"
  chunk RIFF "$body" "${2:-}" >"$out/$1"; rm -f "$body"
}
extra() { local f; f=$(mktemp -p "$work"); cat >"$f"; echo "$f"; }

{ fmt 1 1 22050 2 16; data 40; } | riff pcm16_mono.wav
{ fmt 1 2 8000 2 8; chunk LIST <(printf 'INFOISFT\x03\x00\x00\x00abc'); data 31; } | riff pcm8_stereo_odd_list.wav
{ data 32; fmt 3 1 44100 4 32; } | riff float32_data_first.wav
{ fmt 6 1 8000 1 8 "$(le16 0 | extra)"; data 17; } | riff alaw.wav
{ fmt 7 2 8000 2 8 "$(le16 0 | extra)"; data 24; } | riff mulaw_stereo.wav
coefs=$( { le16 32; le16 28; le16 7
          for c in 256 0 512 -256 0 0 192 64 240 0 460 -208 392 -232; do le16 $((c & 65535)); done; } | extra)
{ fmt 2 2 11025 64 4 "$coefs"; data 100; } | riff ms_adpcm_stereo.wav
{ fmt 0x11 1 8000 36 4 "$( { le16 2; le16 65; } | extra)"; data 80; } | riff ima_adpcm.wav
ext=$( { le16 22; le16 24; le32 4; le32 1; printf '\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71'; } | extra)
{ fmt 0xFFFE 1 48000 3 24 "$ext"; data 30; } | riff extensible_pcm24.wav
{ fmt 1 1 16000 2 16; data 20 7 4294967295; } | riff streamed.wav 4294967295
{ fmt 1 1 22050 2 16; data 200; } | riff cut_short.wav && truncate -s 120 "$out/cut_short.wav"
