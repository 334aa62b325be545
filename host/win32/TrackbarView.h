// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A trackbar (msctls_trackbar32). It shows the core's range and position; when the user drags
// or clicks it, the trackbar moves on its own, so the dialog asks here where the user wanted it,
// puts the thumb back and reports the wish. The core's answer moves it for real. Its keys are
// the dialog's, like every key.
#include <optional>

#include "host/win32/ControlView.h"

class TrackbarView : public ControlView {
 public:
  TrackbarView(HWND dialog, const ControlModel& control);
  void Apply(const ControlModel& control, Change what) override;
  // After the trackbar told its dialog it moved: the position the user asked for, if it is not
  // the core's. The thumb is back at the core's position.
  std::optional<int> TakeUserMove();

 private:
  int pos_ = 0;
};
