// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window timers on a fixed grid. A timer set at t with period P falls due at t+P, t+2P, ...
// Ticks that pass while the thread is busy merge into one: taking a due timer moves it to the
// first grid point after now, so the grid never shifts. Setting a running timer restarts its
// grid from now; killing it drops a pending tick.
#include <cstdint>
#include <optional>
#include <vector>

#include "common/WinTypes.h"

class TimerTable {
 public:
  struct Due {
    HWND hwnd;
    UINT id;
  };
  void Set(HWND hwnd, UINT id, int periodMs, std::int64_t now);
  bool Kill(HWND hwnd, UINT id);
  void KillAll(HWND hwnd);
  // The earliest due time of any timer, if one runs.
  std::optional<std::int64_t> NextDue() const;
  // The timer that fell due first (ties: the one set first), re-armed on its grid.
  std::optional<Due> TakeDue(std::int64_t now);
  bool IsRunning(HWND hwnd, UINT id) const;
  std::size_t Count() const { return timers_.size(); }

 private:
  struct Timer {
    HWND hwnd;
    UINT id;
    std::int64_t period;
    std::int64_t due;
    std::uint64_t order;
  };
  std::vector<Timer> timers_;
  std::uint64_t nextOrder_ = 0;
};
