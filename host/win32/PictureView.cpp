// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/PictureView.h"

#include "host/win32/DialogUnits.h"

PictureView::PictureView(HWND dialog, const ControlModel& control, BitmapCache& pictures)
    : ControlView(dialog, control, L"STATIC",
                  SS_BITMAP | SS_REALSIZECONTROL | (control.style & WS_BORDER),
                  control.exStyle & WS_EX_CLIENTEDGE),
      pictures_(pictures),
      style_(static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE))),
      exStyle_(static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE))),
      bitmapId_(control.bitmapId) {}

PictureView::~PictureView() {
  // The bitmaps belong to the cache; the control must not be left holding one when it goes.
  if (IsWindow(hwnd())) SendMessageW(hwnd(), STM_SETIMAGE, IMAGE_BITMAP, 0);
}

void PictureView::Apply(const ControlModel& control, ViewChange what) {
  if (what != ViewChange::Picture || control.bitmapId == bitmapId_) return;
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
  if (picture.bitmap == shown_ && !resize) return;
  auto previous = reinterpret_cast<HBITMAP>(
      SendMessageW(hwnd(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.bitmap)));
  // A control that made a copy of a bitmap hands the copy back; ours it only borrowed.
  if (previous && previous != shown_) DeleteObject(previous);
  shown_ = picture.bitmap;
  if (!picture.bitmap) return;
  RECT frame{0, 0, picture.size.cx, picture.size.cy};
  AdjustWindowRectExForDpi(&frame, style_, FALSE, exStyle_, dpi_);
  SetWindowPos(hwnd(), nullptr, corner_.x, corner_.y, frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
