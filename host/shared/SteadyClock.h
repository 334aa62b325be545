// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's clock: the monotonic clock in milliseconds since the program started, and the
// system's random source for the seed. On Linux std::chrono::steady_clock is CLOCK_MONOTONIC,
// which stops while the machine is suspended (CLOCK_BOOTTIME would not), as the core's timers
// need.
#include <chrono>

#include "common/Clock.h"

class SteadyClock : public Clock {
 public:
  SteadyClock();
  std::int64_t Now() const override;
  unsigned Seed() const override;

 private:
  std::chrono::steady_clock::time_point start_;
};
