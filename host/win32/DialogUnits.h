// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog font at one screen density, and dialog units to pixels as the Windows dialog
// manager reckons them from that font.
//
// The font is 8 point, made for the window's dots per inch: "MS Sans Serif", the one the
// templates name, at 96; above that "Microsoft Sans Serif", for the first is a bitmap font on
// Windows, drawn in a few sizes only, jagged and out of proportion at 125 to 200 %. Its base units
// are what MapDialogRect uses: the average width of the 52 letters, rounded, and the font's height.
// A coordinate is x * baseX / 4 and y * baseY / 8, rounded as MulDiv rounds.
#include <windows.h>

#include "common/View.h"
#include "host/shared/Layout.h"
#include "host/win32/GdiObjects.h"
#include "host/win32/SystemCalls.h"

class DialogUnits {
 public:
  explicit DialogUnits(UINT dpi, SystemCalls& calls = SystemCalls::Real());

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
  // than with the density alone, since a font's letters do not grow exactly with the density
  // (200 % may give base units of 13 x 26 or 12 x 27), and a picture that outgrew its place
  // would cover its neighbours.
  double PictureRatio() const;

 private:
  UINT dpi_;
  FontObject font_;
  int baseX_ = 0, baseY_ = 0;
};
