// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/GroupBoxView.h"

#include "host/win32/DialogUnits.h"

void GroupBoxView::Layout(const DialogUnits& units) {
  ControlView::Layout(units);
  RECT r{};
  GetClientRect(hwnd(), &r);
  // The frame's lines are two pixels wide (etched) at this density; the caption takes one
  // line of the font at the top.
  const int edge = units.Scale(2);
  Hollow(RECT{edge, units.baseY(), r.right - edge, r.bottom - edge});
}
