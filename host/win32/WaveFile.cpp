// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/WaveFile.h"

namespace {
void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
// One byte at a time: GCC 12 at -O3 misreads a four-byte insert as an overflow.
void Tag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}
}  // namespace

std::vector<std::uint8_t> WaveFile::FromSamples(const std::vector<std::int16_t>& samples,
                                                int sampleRate) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes);
  Tag(out, "RIFF");
  Put(out, 36 + dataBytes, 4);
  Tag(out, "WAVE");
  Tag(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, 1, 2);  // mono
  Put(out, static_cast<std::uint32_t>(sampleRate), 4);
  Put(out, static_cast<std::uint32_t>(sampleRate) * 2, 4);  // bytes per second
  Put(out, 2, 2);                                           // bytes per frame
  Put(out, 16, 2);                                          // bits per sample
  Tag(out, "data");
  Put(out, dataBytes, 4);
  for (std::int16_t s : samples) Put(out, static_cast<std::uint16_t>(s), 2);
  return out;
}
