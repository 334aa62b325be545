// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/StaticFrameView.h"

StaticFrameView::StaticFrameView(HWND dialog, const ControlModel& control)
    : ControlView(dialog, control, L"STATIC", SS_OWNERDRAW | (control.style & SS_SUNKEN),
                  control.exStyle & WS_EX_CLIENTEDGE),
      filled_(control.kind == ControlKind::BlackRect) {}

void StaticFrameView::Layout(const DialogUnits& units) {
  ControlView::Layout(units);
  if (filled_) return;
  // Hollow inside the black line, which lies just inside the window's own edges.
  RECT client{};
  GetClientRect(hwnd(), &client);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT window{};
  GetWindowRect(hwnd(), &window);
  OffsetRect(&client, -window.left, -window.top);
  InflateRect(&client, -1, -1);
  Hollow(client);
}

void StaticFrameView::Draw(const DRAWITEMSTRUCT& item) {
  auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (filled_)
    FillRect(item.hDC, &item.rcItem, black);
  else
    FrameRect(item.hDC, &item.rcItem, black);
}
