// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows program's clock: the unbiased interrupt time, which stands still while the
// machine sleeps or hibernates, so that a timer the program set does not fall due many times
// over the moment it wakes. Milliseconds since the clock was made; the system's random source
// for the seed.
//
// Windows 10 reads it to the tenth of a microsecond (QueryUnbiasedInterruptTimePrecise); where
// that is missing, the plain reading moves with the system tick.
#include <cstdint>

#include "common/Clock.h"

class UnbiasedClock : public Clock {
 public:
  UnbiasedClock();
  std::int64_t Now() const override;
  unsigned Seed() const override;

 private:
  // In units of 100 ns.
  std::uint64_t Read() const;

  using Reader = void(__stdcall*)(unsigned long long*);
  Reader precise_ = nullptr;
  std::uint64_t start_ = 0;
};
