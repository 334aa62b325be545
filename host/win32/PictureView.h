// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static picture (STATIC with SS_BITMAP). It takes the size of its picture, grown with the
// layout (DialogUnits::PictureRatio), plus its border, not the size its template gives it, and
// stands at the template's corner; without a picture it shows nothing. WS_BORDER and
// WS_EX_CLIENTEDGE are drawn by Windows around the picture.
#include "host/win32/BitmapCache.h"
#include "host/win32/ControlView.h"

class PictureView : public ControlView {
 public:
  PictureView(HWND dialog, const ControlModel& control, BitmapCache& pictures);
  ~PictureView() override;
  void Apply(const ControlModel& control, ViewChange what) override;
  void Layout(const DialogUnits& units) override;

 private:
  // Shows the picture for the current density; sizes the control to it when it changed or
  // `resize` asks.
  void ShowPicture(bool resize);

  BitmapCache& pictures_;
  DWORD style_, exStyle_;
  int bitmapId_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  double ratio_ = 1;
  POINT corner_{};
  HBITMAP shown_ = nullptr;  // the cache's, not ours
};
