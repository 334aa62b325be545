// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/DialogUnits.h"

#include "host/shared/Layout.h"

namespace {
constexpr Layout::BaseUnits kBase{DialogUnits::kBaseX, DialogUnits::kBaseY};
}  // namespace

int DialogUnits::ToPixelsX(int du) { return Layout::ToPixelsX(du, kBase, Layout::Rounding::Floor); }

int DialogUnits::ToPixelsY(int du) { return Layout::ToPixelsY(du, kBase, Layout::Rounding::Floor); }

QRect DialogUnits::ToPixels(const Rect& r) {
  const PixelRect px = Layout::ToPixels(r, kBase, Layout::Rounding::Floor);
  return QRect(px.x, px.y, px.width, px.height);
}

QFont DialogUnits::Font() {
  QFont font(QStringLiteral("DejaVu Sans"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}
