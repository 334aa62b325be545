// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/web/WebClock.h"

#include "common/SystemSeed.h"
#include "host/web/PageCalls.h"

WebClock::WebClock() : start_(qx_now()) {}

std::int64_t WebClock::Now() const { return static_cast<std::int64_t>(qx_now() - start_); }

unsigned WebClock::Seed() const { return SystemSeed(); }
