// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static picture (STATIC). It takes the size of its picture, grown with the layout
// (DialogUnits::PictureRatio), plus its border, not the size its template gives it, and
// stands at the template's corner. WS_BORDER and WS_EX_CLIENTEDGE are drawn by Windows around
// the picture; without a picture the control shows nothing at all, border included.
//
// The picture is drawn here (SS_OWNERDRAW) rather than by the static control: the control
// clears its background before it draws a new bitmap, and a lamp that changes forty times a
// second would flicker.
#include "host/win32/BitmapCache.h"
#include "host/win32/ControlView.h"

class PictureView : public ControlView {
 public:
  PictureView(HWND dialog, const ControlModel& control, BitmapCache& pictures);
  void Apply(const ControlModel& control, Change what) override;
  void Layout(const DialogUnits& units) override;
  void Draw(const DRAWITEMSTRUCT& item) override;

 private:
  // Takes the picture for the current ratio; sizes the control to it when it changed or
  // `resize` asks.
  void ShowPicture(bool resize);

  BitmapCache& pictures_;
  DWORD style_, exStyle_;
  int bitmapId_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  double ratio_ = 1;
  POINT corner_{};
  BitmapCache::Picture picture_;  // the cache's bitmap, not ours
};
