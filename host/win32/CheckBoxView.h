// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A check box (BUTTON). It never ticks itself: a click is reported, and the core's answer sets
// the check.
#include "host/win32/ControlView.h"

class CheckBoxView : public ControlView {
 public:
  CheckBoxView(HWND dialog, const ControlModel& control);
  void Apply(const ControlModel& control, Change what) override;
};
