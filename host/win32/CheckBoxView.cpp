// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/CheckBoxView.h"

CheckBoxView::CheckBoxView(HWND dialog, const ControlModel& control)
    : ControlView(dialog, control, L"BUTTON", BS_CHECKBOX) {}

void CheckBoxView::Apply(const ControlModel& control, Change what) {
  if (what == Change::Checked) {
    SendMessageW(hwnd(), BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return;
  }
  ControlView::Apply(control, what);
}
