// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The time as the program sees it: the host's clock, except while the window system makes up a
// timer tick it slept through, when it is that tick's own time. A handler of a made-up tick,
// and anything it tells the host, sees the moment the tick would have come; the time never
// goes back, since the ticks are made up in order and all lie before the host's now.
#include <cstdint>
#include <optional>

#include "common/Clock.h"

class ProgramClock : public Clock {
 public:
  explicit ProgramClock(const Clock& host) : host_(host) {}
  std::int64_t Now() const override { return held_ ? *held_ : host_.Now(); }
  unsigned Seed() const override { return host_.Seed(); }
  // From Hold until Release, Now is `t`.
  void Hold(std::int64_t t) { held_ = t; }
  void Release() { held_.reset(); }

 private:
  const Clock& host_;
  std::optional<std::int64_t> held_;
};
