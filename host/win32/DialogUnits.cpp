// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/DialogUnits.h"

#include <algorithm>

namespace {
constexpr int kPoints = 8;
constexpr wchar_t kFace[] = L"MS Sans Serif";
constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}  // namespace

DialogUnits::DialogUnits(UINT dpi) : dpi_(dpi ? dpi : USER_DEFAULT_SCREEN_DPI) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(kPoints, static_cast<int>(dpi_), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, kFace, LF_FACESIZE);
  font_.reset(CreateFontIndirectW(&lf));

  MemoryDC dc;
  Selection selected(dc.get(),
                     font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  SIZE letters{};
  if (!GetTextMetricsW(dc.get(), &tm) || !GetTextExtentPoint32W(dc.get(), kLetters, 52, &letters)) {
    // Without a font to measure, the classic values of this font at 96 dpi, scaled.
    baseX_ = MulDiv(6, static_cast<int>(dpi_), 96);
    baseY_ = MulDiv(13, static_cast<int>(dpi_), 96);
    return;
  }
  baseX_ = (letters.cx / 26 + 1) / 2;
  baseY_ = tm.tmHeight;
}

RECT DialogUnits::ToPixels(const Rect& r) const {
  RECT px;
  px.left = ToPixelsX(r.x);
  px.top = ToPixelsY(r.y);
  px.right = px.left + ToPixelsX(r.cx);
  px.bottom = px.top + ToPixelsY(r.cy);
  return px;
}

double DialogUnits::PictureRatio() const { return std::min(baseX_ / 6.0, baseY_ / 13.0); }
