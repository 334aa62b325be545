// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/ClipSchedule.h"

#include <algorithm>

int ClipSchedule::Play(int frameCount, std::int64_t microsPerFrame, int from, int to, int repeat,
                       std::int64_t now) {
  playing_ = false;
  if (frameCount <= 0) return -1;
  const int last = std::min(to, frameCount - 1);
  first_ = std::clamp(from, 0, frameCount - 1);
  count_ = std::max(1, last - first_ + 1);
  repeat_ = repeat;
  per_ = std::max<std::int64_t>(1, microsPerFrame);
  started_ = now;
  playing_ = !(repeat == 0 || (count_ == 1 && repeat > 0));
  return first_;
}

ClipSchedule::Step ClipSchedule::At(std::int64_t now) {
  const std::int64_t k = (now - started_) * 1000 / per_;
  if (repeat_ > 0 && k >= static_cast<std::int64_t>(count_) * repeat_) {
    playing_ = false;
    return {first_ + count_ - 1, -1};
  }
  return {first_ + static_cast<int>(k % count_), started_ + ((k + 1) * per_ + 999) / 1000};
}

std::int64_t ClipSchedule::PeriodMs() const { return std::max<std::int64_t>(10, per_ / 1000); }
