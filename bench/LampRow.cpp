// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/LampRow.h"

#include <algorithm>

#include "res/ResourceIds.h"

namespace {
// Whether `row` shows `picture` at `at`, leaving out its last columns from `columns` on.
bool Shows(const Pixels& row, const PixelRect& at, const Pixels& picture, int columns) {
  if (at.w != picture.w || at.h != picture.h) return false;
  for (int y = 0; y < at.h; ++y)
    for (int x = 0; x < columns; ++x)
      if (row.At(at.x + x, at.y + y) != picture.At(x, y)) return false;
  return true;
}
}  // namespace

LampRow::LampRow(::Display* dpy, const DumpedWindow& window)
    : dpy_(dpy), on_(Bitmap(IDB_LAMP_ON)), off_(Bitmap(IDB_LAMP_OFF)) {
  std::vector<PixelRect> screen;
  for (int id : kLampIds)
    for (const auto& [cid, r] : window.controls)
      if (cid == id) screen.push_back({window.window.x + r.x, window.window.y + r.y, r.w, r.h});
  if (screen.size() != 10 || on_.w == 0 || off_.w == 0) return;
  row_ = screen.front();
  for (const PixelRect& r : screen) {
    row_.w = std::max(row_.Right(), r.Right()) - row_.x;
    row_.h = std::max(row_.Bottom(), r.Bottom()) - row_.y;
  }
  for (size_t k = 0; k < screen.size(); ++k) {
    const PixelRect& r = screen[k];
    lamps_.push_back({r.x - row_.x, r.y - row_.y, r.w, r.h});
    const int covered = k + 1 < screen.size() ? std::max(0, r.Right() - screen[k + 1].x) : 0;
    visibleColumns_.push_back(r.w - covered);
  }
  ok_ = true;
}

int LampRow::Lit() const {
  if (!ok_) return -1;
  const Pixels row = Grab(dpy_, row_);
  if (row.w != row_.w) return -1;
  int lit = 0;
  for (size_t k = 0; k < lamps_.size(); ++k) {
    if (Shows(row, lamps_[k], off_, visibleColumns_[k])) continue;
    if (!Shows(row, lamps_[k], on_, visibleColumns_[k]) || lit) return -1;
    lit = static_cast<int>(k) + 1;
  }
  return lit;
}

int LampRow::LampAt(long long place) {
  const int i = static_cast<int>(((place % kCycle) + kCycle) % kCycle);
  if (i < 10) return i + 1;
  if (i == 10 || i == 21) return 0;
  return 21 - i;
}

std::optional<int> LampRow::PlaceAfter(int before, int after) {
  for (int i = 0; i < kCycle; ++i)
    if (LampAt(i - 1) == before && LampAt(i) == after) return i;
  return std::nullopt;
}
