// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's only source of time. The desktop reads the monotonic clock; the headless host
// keeps virtual time that moves only when it says so.
#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; never goes back.
  virtual std::int64_t Now() const = 0;
  // The seed of this run's random draw: the system's random source (SystemSeed), or the
  // seed a test asked for.
  virtual unsigned Seed() const = 0;
};
