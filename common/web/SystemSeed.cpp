// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SystemSeed.h"

// Emscripten's sys/random.h uses size_t without declaring it.
#include <cstddef>
#include <sys/random.h>

#include <chrono>

unsigned SystemSeed() {
  unsigned seed = 0;
  // The browser's crypto.getRandomValues, or node's crypto module.
  if (getentropy(&seed, sizeof seed) == 0) return seed;
  auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return MixSeed(static_cast<std::uint64_t>(ticks), 0);
}
