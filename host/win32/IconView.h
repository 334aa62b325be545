// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message box's icon (STATIC with SS_ICON): Windows' own warning or error icon at the size
// of a large icon for the window's density, at the template's corner.
#include "host/win32/ControlView.h"
#include "host/win32/GdiObjects.h"

class IconView : public ControlView {
 public:
  // `iconFlags`: the message box's MB_ICONEXCLAMATION or MB_ICONHAND.
  IconView(HWND dialog, const ControlModel& control, unsigned iconFlags);
  void Layout(const DialogUnits& units) override;

 private:
  unsigned flags_;
  IconObject icon_;
};
