// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SystemSeed.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

unsigned SystemSeed() {
  unsigned seed = 0;
  if (BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&seed), sizeof seed,
                      BCRYPT_USE_SYSTEM_PREFERRED_RNG) >= 0) {
    return seed;
  }
  LARGE_INTEGER ticks{};
  QueryPerformanceCounter(&ticks);
  return MixSeed(static_cast<std::uint64_t>(ticks.QuadPart), GetCurrentProcessId());
}
