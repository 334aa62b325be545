// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads what a sound cue is (rate, channels, codec) and how long it plays, from a RIFF/WAVE
// header alone. The headless sink advances its clock by durationMs.
//
// Accepted: little-endian RIFF "WAVE" files whose chunks may come in any order (odd-sized
// chunks padded to even), with codec PCM (1), IEEE float (3), a-law (6), mu-law (7),
// MS ADPCM (2), IMA ADPCM (0x11), or WAVE_FORMAT_EXTENSIBLE (0xFFFE) over PCM, float, a-law
// or mu-law. Anything else, or a header whose fields contradict each other, is "not a cue we
// can play" and gives std::nullopt; no input makes these functions crash or overflow.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct WavInfo {
  int sampleRate;  // frames per second
  int channels;
  int bitsPerSample;  // as the header states it (4 for the ADPCM codecs)
  // The codec: 1 PCM, 3 float, 6 a-law, 7 mu-law, 2 MS ADPCM, 0x11 IMA ADPCM. An extensible
  // header reports the codec its sub-format names, never 0xFFFE.
  int formatTag;
  // The sample bytes the file really holds: the data chunk's declared size, or less when the
  // file ends early.
  int64_t dataBytes;
  // How long those bytes play, rounded to the nearest millisecond. Whole frames only; ADPCM
  // counts every sample its blocks (and a last partial block) hold, as a decoder would.
  int64_t durationMs;
};

// Parses a whole WAV file, or any prefix of one, held in memory. Pure; never reads past
// data + size.
std::optional<WavInfo> ParseWavInfo(const uint8_t* data, size_t size);

// Reads the file at `path`: only the chunk headers and the fmt chunk are read, so a huge file
// costs a few small reads. Gives std::nullopt for anything but a readable regular file holding
// a WAV header ParseWavInfo would accept; for the same bytes, both give the same answer.
std::optional<WavInfo> ReadWavInfo(const std::string& path);
