// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/SteadyClock.h"

#include "common/SystemSeed.h"

SteadyClock::SteadyClock() : start_(std::chrono::steady_clock::now()) {}

std::int64_t SteadyClock::Now() const {
  auto elapsed = std::chrono::steady_clock::now() - start_;
  return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

unsigned SteadyClock::Seed() const { return SystemSeed(); }
