// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files as bytes: little-endian fields and whole files, for the tests of the sound sink, the
// bitmap reader and the clip reader and for the sink's latency benchmark, and where a cue's
// frames stand in what a device played.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Frame offset of the first frame-aligned copy of `needle` in `hay` at or after frame `from`,
// or -1.
inline long FindFrames(const Bytes& hay, const Bytes& needle, int bytesPerFrame, long from = 0) {
  if (needle.empty()) return -1;
  auto it = hay.begin() + std::min<long>(from * bytesPerFrame, static_cast<long>(hay.size()));
  while (true) {
    it = std::search(it, hay.end(), needle.begin(), needle.end());
    if (it == hay.end()) return -1;
    const long at = it - hay.begin();
    if (at % bytesPerFrame == 0) return at / bytesPerFrame;
    ++it;
  }
}
