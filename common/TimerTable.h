// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window timers on a fixed grid. A timer set at t with period P falls due at t+P, t+2P, ...
// Ticks that pass while the thread is busy merge into one: taking a due timer moves it to the
// first grid point after now, so the grid never shifts. Setting a running timer restarts its
// grid from now; killing it drops a pending tick.
//
// A timer may carry a count of quiet ticks: its next ticks, which the program says change
// nothing anyone can see while its windows are hidden. The window system may sleep through
// them and make them up later, one by one (TakeOwed), each on its own grid point. Every tick
// taken uses one up; setting the timer again clears them.
#include <cstdint>
#include <optional>
#include <vector>

#include "common/WinTypes.h"

class TimerTable {
 public:
  struct Due {
    HWND hwnd;
    UINT id;
    std::int64_t at;  // the grid point it fell due on
  };
  void Set(HWND hwnd, UINT id, int periodMs, std::int64_t now);
  bool Kill(HWND hwnd, UINT id);
  void KillAll(HWND hwnd);
  void SetQuietTicks(HWND hwnd, UINT id, std::int64_t count);
  // The earliest due time of any timer, if one runs.
  std::optional<std::int64_t> NextDue() const;
  // The earliest due time of a tick that is not quiet, if one will come.
  std::optional<std::int64_t> NextLoud() const;
  // The timer that fell due first (ties: the one set first), re-armed on its grid.
  std::optional<Due> TakeDue(std::int64_t now);
  // The tick that fell due first at or before `until` when it is a quiet one, moved on by
  // exactly one period: made up ticks never merge. Nothing once the first is not quiet.
  std::optional<Due> TakeOwed(std::int64_t until);
  bool IsRunning(HWND hwnd, UINT id) const;
  std::size_t Count() const { return timers_.size(); }

 private:
  struct Timer {
    HWND hwnd;
    UINT id;
    std::int64_t period;
    std::int64_t due;
    std::uint64_t order;
    std::int64_t quiet;
  };
  Timer* First(std::int64_t until);
  std::vector<Timer> timers_;
  std::uint64_t nextOrder_ = 0;
};
