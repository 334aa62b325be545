// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/PushButtonView.h"

PushButtonView::PushButtonView(HWND dialog, const ControlModel& control)
    : ControlView(dialog, control, L"BUTTON", BS_PUSHBUTTON, control.exStyle & WS_EX_CLIENTEDGE) {}

bool PushButtonView::SetDefaultLook(bool on) {
  if (isDefault_ == on) return false;
  isDefault_ = on;
  SendMessageW(hwnd(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  return true;
}
