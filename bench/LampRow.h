// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's row of ten lamps as the screen shows it, for the desktop benchmark: which
// lamp is lit, and where in the sweep's cycle that puts it.
//
// The sweep runs a cycle of 22 ticks: lamps 1 to 10, one tick with none lit (just past the
// right end), lamps 10 down to 1, one more with none lit; then it starts over. Cycle place i
// (0 to 21) is what the row shows after tick i + 1 of a cycle. One lamp tells two places apart
// only with the step that led to it, so a place is read from two successive lamps.
#include <optional>
#include <vector>

#include "tests/desktop/Harness.h"

class LampRow {
 public:
  static constexpr int kCycle = 22;

  // The row of the main window as the geometry dump places it.
  LampRow(::Display* dpy, const DumpedWindow& window);
  bool Ok() const { return ok_; }
  // The lit lamp, 1 to 10; 0 when none is; -1 when the row shows neither picture in some
  // place (not painted yet) or two lamps lit.
  int Lit() const;

  // The lamp lit at cycle place `place` (any integer, taken modulo the cycle).
  static int LampAt(long long place);
  // The cycle place shown after a step from lamp `before` to lamp `after`; nothing when the
  // sweep never makes that step.
  static std::optional<int> PlaceAfter(int before, int after);

 private:
  ::Display* dpy_;
  bool ok_ = false;
  PixelRect row_;
  std::vector<PixelRect> lamps_;     // relative to the row
  std::vector<int> visibleColumns_;  // a lamp's last column may lie under its right neighbour
  Pixels on_, off_;
};
