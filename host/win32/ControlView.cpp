// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/ControlView.h"

#include "host/win32/DialogUnits.h"
#include "host/win32/WideText.h"

ControlView::ControlView(HWND dialog, const ControlModel& control, const wchar_t* windowClass,
                         DWORD style, DWORD exStyle)
    : handle_(control.handle), id_(control.id), rect_(control.rect) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (control.visible) style |= WS_VISIBLE;
  if (!control.enabled) style |= WS_DISABLED;
  hwnd_ = CreateWindowExW(exStyle, windowClass, Widen(control.text).c_str(), style, 0, 0, 0, 0,
                          dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                          GetModuleHandleW(nullptr), nullptr);
}

void ControlView::Apply(const ControlModel& control, Change what) {
  if (what == Change::Text) SetWindowTextW(hwnd_, Widen(control.text).c_str());
}

void ControlView::Layout(const DialogUnits& units) {
  RECT r = units.ToPixels(rect_);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(units.font()), FALSE);
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlView::Hollow(const RECT& hole) {
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  HRGN shape = CreateRectRgn(0, 0, outer.right - outer.left, outer.bottom - outer.top);
  HRGN inner = CreateRectRgn(hole.left, hole.top, hole.right, hole.bottom);
  CombineRgn(shape, shape, inner, RGN_DIFF);
  DeleteObject(inner);
  SetWindowRgn(hwnd_, shape, TRUE);  // the window owns the region from here on
}
