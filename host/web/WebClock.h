// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page's clock: performance.now(), which never goes back, in whole milliseconds since the
// program started; the seed from the browser's random source.
#include <cstdint>

#include "common/Clock.h"

class WebClock : public Clock {
 public:
  WebClock();
  std::int64_t Now() const override;
  unsigned Seed() const override;

 private:
  double start_;
};
