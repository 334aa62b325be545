// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Random.h"

#include <cstdint>

#include "common/WindowSystem.h"

namespace {
std::uint32_t g_state = 1;
}  // namespace

void SeedRandom(unsigned int seed) { g_state = seed; }

int NextRandom() {
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7FFF);
}

int Random(int n) {
  int r = NextRandom();
  // In 64 bits so that no count can overflow; for the counts the program uses this is the
  // same as the 32-bit product.
  int result = static_cast<int>(static_cast<std::int64_t>(r) * n / 32768);
  // Outside a program run (unit tests of the formula) there is nobody to tell.
  if (WindowSystem* ws = WindowSystem::Current()) ws->observer().RandomDraw(n, result);
  return result;
}
