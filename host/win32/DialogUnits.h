// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog font at one screen density, and dialog units to pixels as the Windows dialog
// manager reckons them from that font.
//
// The font is "MS Sans Serif" 8 point, the one the templates name, made for the window's dots
// per inch. Its base units are what MapDialogRect uses: the average width of the 52 letters,
// rounded, and the font's height. A coordinate is x * baseX / 4 and y * baseY / 8, rounded as
// MulDiv rounds.
#include <windows.h>

#include "common/View.h"
#include "host/shared/Layout.h"
#include "host/win32/GdiObjects.h"

class DialogUnits {
 public:
  explicit DialogUnits(UINT dpi);

  UINT dpi() const { return dpi_; }
  HFONT font() const { return font_.get(); }
  int baseX() const { return baseX_; }
  int baseY() const { return baseY_; }

  int ToPixelsX(int du) const {
    return Layout::ToPixelsX(du, {baseX_, baseY_}, Layout::Rounding::MulDiv);
  }
  int ToPixelsY(int du) const {
    return Layout::ToPixelsY(du, {baseX_, baseY_}, Layout::Rounding::MulDiv);
  }
  RECT ToPixels(const Rect& r) const;
  // Logical pixels (at 96 dpi) to this density's pixels.
  int Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }
  // How much larger than the classic layout this one is: the templates, the pictures and the
  // clip were made together for base units of 6 x 13. Pictures grow with the layout rather
  // than with the density alone, since a font is not made at every size (the bitmap font this
  // one is comes in a few sizes, so 200 % may give base units of 9 x 20), and a picture that
  // outgrew its place would cover its neighbours.
  double PictureRatio() const;

 private:
  UINT dpi_;
  FontObject font_;
  int baseX_ = 0, baseY_ = 0;
};
