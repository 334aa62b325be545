// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/PictureView.h"

#include "host/win32/DialogUnits.h"
#include "host/win32/GdiObjects.h"

PictureView::PictureView(HWND dialog, const ControlModel& control, BitmapCache& pictures)
    : ControlView(dialog, control, L"STATIC", SS_OWNERDRAW | (control.style & WS_BORDER),
                  control.exStyle & WS_EX_CLIENTEDGE),
      pictures_(pictures),
      style_(static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE))),
      exStyle_(static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE))),
      bitmapId_(control.bitmapId) {}

void PictureView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Picture || control.bitmapId == bitmapId_) return;
  bitmapId_ = control.bitmapId;
  ShowPicture(false);
}

void PictureView::Layout(const DialogUnits& units) {
  dpi_ = units.dpi();
  ratio_ = units.PictureRatio();
  RECT r = units.ToPixels(rect());
  corner_ = POINT{r.left, r.top};
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowPicture(true);
}

void PictureView::ShowPicture(bool resize) {
  BitmapCache::Picture picture = pictures_.Get(bitmapId_, ratio_);
  const bool changed = picture.bitmap != picture_.bitmap;
  picture_ = picture;
  if (!changed && !resize) return;
  // No picture: no window to see either.
  SetWindowRgn(hwnd(), picture_.bitmap ? nullptr : CreateRectRgn(0, 0, 0, 0), TRUE);
  if (picture_.bitmap) {
    RECT frame{0, 0, picture_.size.cx, picture_.size.cy};
    AdjustWindowRectExForDpi(&frame, style_, FALSE, exStyle_, dpi_);
    SetWindowPos(hwnd(), nullptr, corner_.x, corner_.y, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureView::Draw(const DRAWITEMSTRUCT& item) {
  if (!picture_.bitmap) return;
  MemoryDC source;
  Selection drawn(source.get(), picture_.bitmap);
  BitBlt(item.hDC, 0, 0, picture_.size.cx, picture_.size.cy, source.get(), 0, 0, SRCCOPY);
}
