// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/TimerTable.h"

#include <algorithm>

namespace {
// The shortest period the window system grants, as the platform did.
constexpr std::int64_t kMinimumPeriod = 10;
}  // namespace

void TimerTable::Set(HWND hwnd, UINT id, int periodMs, std::int64_t now) {
  std::int64_t period = std::max<std::int64_t>(periodMs, kMinimumPeriod);
  for (auto& t : timers_) {
    if (t.hwnd == hwnd && t.id == id) {
      t.period = period;
      t.due = now + period;
      t.order = nextOrder_++;
      t.quiet = 0;
      return;
    }
  }
  timers_.push_back({hwnd, id, period, now + period, nextOrder_++, 0});
}

bool TimerTable::Kill(HWND hwnd, UINT id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void TimerTable::KillAll(HWND hwnd) {
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

void TimerTable::SetQuietTicks(HWND hwnd, UINT id, std::int64_t count) {
  for (auto& t : timers_)
    if (t.hwnd == hwnd && t.id == id) t.quiet = std::max<std::int64_t>(count, 0);
}

std::optional<std::int64_t> TimerTable::NextDue() const {
  if (timers_.empty()) return std::nullopt;
  std::int64_t best = timers_.front().due;
  for (const auto& t : timers_) best = std::min(best, t.due);
  return best;
}

std::optional<std::int64_t> TimerTable::NextLoud() const {
  std::optional<std::int64_t> best;
  for (const auto& t : timers_) {
    // A count too large to reach (a program's "for ever") is a tick that never comes.
    if (t.quiet > (INT64_MAX - t.due) / t.period) continue;
    std::int64_t loud = t.due + t.quiet * t.period;
    if (!best || loud < *best) best = loud;
  }
  return best;
}

TimerTable::Timer* TimerTable::First(std::int64_t until) {
  Timer* best = nullptr;
  for (auto& t : timers_) {
    if (t.due > until) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
  }
  return best;
}

std::optional<TimerTable::Due> TimerTable::TakeDue(std::int64_t now) {
  Timer* best = First(now);
  if (!best) return std::nullopt;
  Due due{best->hwnd, best->id, best->due};
  best->due += best->period * ((now - best->due) / best->period + 1);
  if (best->quiet > 0) --best->quiet;
  return due;
}

std::optional<TimerTable::Due> TimerTable::TakeOwed(std::int64_t until) {
  Timer* best = First(until);
  if (!best || best->quiet == 0) return std::nullopt;
  Due due{best->hwnd, best->id, best->due};
  best->due += best->period;
  --best->quiet;
  return due;
}

bool TimerTable::IsRunning(HWND hwnd, UINT id) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}
