// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A black rectangle or black frame (STATIC), with the template's sunken edges drawn by Windows
// around it. The black is drawn here (SS_OWNERDRAW): Windows paints SS_BLACKRECT in the window
// frame's colour, which today's Windows makes grey. A frame's window is hollow inside its line,
// so the controls in it show through even where the template puts the frame above them.
#include "host/win32/ControlView.h"

class StaticFrameView : public ControlView {
 public:
  StaticFrameView(HWND dialog, const ControlModel& control);
  void Layout(const DialogUnits& units) override;
  void Draw(const DRAWITEMSTRUCT& item) override;

 private:
  bool filled_;
};
