// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SystemSeed.h"

#include <sys/random.h>
#include <unistd.h>

#include <chrono>

unsigned SystemSeed() {
  unsigned seed = 0;
  // Four bytes never come back short from getrandom once the pool is ready; GRND_NONBLOCK
  // keeps a start in an early boot from waiting for it.
  if (getrandom(&seed, sizeof seed, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof seed)) {
    return seed;
  }
  auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return MixSeed(static_cast<std::uint64_t>(ticks), static_cast<std::uint64_t>(getpid()));
}
