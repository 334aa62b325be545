// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A group box (BUTTON with BS_GROUPBOX): a frame with a caption, taking no input. The window
// is hollow below its caption's line, so the controls inside it show through even where the
// template puts the box above them.
#include "host/win32/ControlView.h"

class GroupBoxView : public ControlView {
 public:
  GroupBoxView(HWND dialog, const ControlModel& control)
      : ControlView(dialog, control, L"BUTTON", BS_GROUPBOX) {}
  void Layout(const DialogUnits& units) override;
};
