// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/IconView.h"

#include "host/win32/DialogUnits.h"
#include "host/win32/ScaledIcon.h"

IconView::IconView(HWND dialog, const ControlModel& control, unsigned iconFlags)
    : ControlView(dialog, control, L"STATIC", SS_ICON | SS_REALSIZEIMAGE),
      flags_(iconFlags & MB_ICONMASK) {}

void IconView::Layout(const DialogUnits& units) {
  const int side = GetSystemMetricsForDpi(SM_CXICON, units.dpi());
  const wchar_t* which = flags_ == MB_ICONHAND ? IDI_ERROR : IDI_WARNING;
  if (HICON icon = flags_ ? ScaledIcon::Load(nullptr, which, side) : nullptr) {
    // The control lets go of the icon it showed, which is destroyed in its turn.
    SendMessageW(hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    icon_.reset(icon);
  }
  RECT r = units.ToPixels(rect());
  SetWindowPos(hwnd(), nullptr, r.left, r.top, side, side, SWP_NOZORDER | SWP_NOACTIVATE);
}
