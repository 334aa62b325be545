// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Virtual time: it moves only when the headless host says so.
#include <optional>

#include "common/Clock.h"
#include "common/SystemSeed.h"

class VirtualClock : public Clock {
 public:
  explicit VirtualClock(std::optional<unsigned> seed = std::nullopt) : seed_(seed) {}
  std::int64_t Now() const override { return now_; }
  unsigned Seed() const override { return seed_ ? *seed_ : SystemSeed(); }
  void Set(std::int64_t t) {
    if (t > now_) now_ = t;
  }

 private:
  std::int64_t now_ = 0;
  std::optional<unsigned> seed_;
};
