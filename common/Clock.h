// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's only source of time. The desktop reads the monotonic clock; the headless host
// keeps virtual time that moves only when it says so.
#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; never goes back, and stands still while the machine
  // is suspended: the timers follow it, and after a resume they take up where they were. A
  // clock that ran on through the night would have every timer fall due at once on waking,
  // the ticks slept through before the suspend to be made up and the monitor's reading with
  // them, hours late.
  virtual std::int64_t Now() const = 0;
  // The seed of this run's random draw: the system's random source (SystemSeed), or the
  // seed a test asked for.
  virtual unsigned Seed() const = 0;
};
