// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The monitor's first reading, for tests that seed a run to decide it.
#include <cstdint>

// 2401 ticks of 25 ms: the first reading of a run that started monitoring at 0.
constexpr std::int64_t kCheck = 2401 * 25;

// The monitor's reading is the first draw of a run, so a seed decides it: the classic generator,
// one step from the seed, scaled to the bound 100.
inline int FirstReading(std::uint32_t seed) {
  std::uint32_t state = seed * 214013u + 2531011u;
  return static_cast<int>(((state >> 16) & 0x7FFF) * 100 / 32768);
}

// The smallest seed whose first reading is `reading` (0 to 99).
inline std::uint32_t SeedReading(int reading) {
  for (std::uint32_t seed = 1;; ++seed)
    if (FirstReading(seed) == reading) return seed;
}
