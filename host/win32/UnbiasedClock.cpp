// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/UnbiasedClock.h"

#include <windows.h>

#include "common/SystemSeed.h"

UnbiasedClock::UnbiasedClock() {
  if (HMODULE kernel = GetModuleHandleW(L"kernelbase.dll")) {
    FARPROC found = GetProcAddress(kernel, "QueryUnbiasedInterruptTimePrecise");
    precise_ = reinterpret_cast<Reader>(reinterpret_cast<void*>(found));
  }
  start_ = Read();
}

std::uint64_t UnbiasedClock::Read() const {
  ULONGLONG t = 0;
  if (precise_)
    precise_(&t);
  else
    QueryUnbiasedInterruptTime(&t);
  return t;
}

std::int64_t UnbiasedClock::Now() const {
  return static_cast<std::int64_t>((Read() - start_) / 10000);
}

unsigned UnbiasedClock::Seed() const { return SystemSeed(); }
