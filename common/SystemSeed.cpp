// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SystemSeed.h"

namespace {
// The finaliser of SplitMix64: every input bit moves about half of the output bits.
std::uint64_t Scramble(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}
}  // namespace

unsigned MixSeed(std::uint64_t clockTicks, std::uint64_t processId) {
  std::uint64_t z = Scramble(clockTicks + 0x9e3779b97f4a7c15ull) ^ Scramble(processId);
  z = Scramble(z);
  return static_cast<unsigned>(z ^ (z >> 32));
}
