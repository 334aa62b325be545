// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a run's random draw starts. Seeding from the calendar second gave every start within
// about twenty minutes the same first outcome (the generator's first value moves by only a few
// steps a second), so a run takes 32 bits from the system's random source instead.
#include <cstdint>

// 32 bits from the system's random source; when it cannot answer, a mix of a high-resolution
// clock and the process id. One source file per system.
unsigned SystemSeed();

// Spreads a clock reading and a process id over all 32 bits, so that starts a tick or a process
// apart seed far apart. Used when the system's random source fails.
unsigned MixSeed(std::uint64_t clockTicks, std::uint64_t processId);
