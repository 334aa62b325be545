// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/TrackbarView.h"

#include <commctrl.h>

#include <algorithm>

TrackbarView::TrackbarView(HWND dialog, const ControlModel& control)
    : ControlView(dialog, control, TRACKBAR_CLASSW,
                  TBS_HORZ | (control.style & (TBS_AUTOTICKS | TBS_TOP))) {
  Apply(control, Change::Trackbar);
}

void TrackbarView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Trackbar) return;
  SendMessageW(hwnd(), TBM_SETRANGEMIN, FALSE, control.trackMin);
  SendMessageW(hwnd(), TBM_SETRANGEMAX, FALSE, control.trackMax);
  // A click on the channel pages by a fifth of the range, as the classic control does.
  SendMessageW(hwnd(), TBM_SETPAGESIZE, 0, std::max(1, (control.trackMax - control.trackMin) / 5));
  SendMessageW(hwnd(), TBM_SETPOS, TRUE, control.trackPos);
  pos_ = control.trackPos;
}

std::optional<int> TrackbarView::TakeUserMove() {
  int wanted = static_cast<int>(SendMessageW(hwnd(), TBM_GETPOS, 0, 0));
  if (wanted == pos_) return std::nullopt;
  SendMessageW(hwnd(), TBM_SETPOS, TRUE, pos_);
  return wanted;
}
