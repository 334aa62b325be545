// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/DialogUnits.h"

namespace {
// Integer division rounding towards minus infinity, so that a control at -1 du is left of 0.
int FloorDiv(long long value, int divisor) {
  long long q = value / divisor;
  if (value % divisor != 0 && value < 0) --q;
  return static_cast<int>(q);
}
}  // namespace

int DialogUnits::ToPixelsX(int du) { return FloorDiv(static_cast<long long>(du) * kBaseX, 4); }

int DialogUnits::ToPixelsY(int du) { return FloorDiv(static_cast<long long>(du) * kBaseY, 8); }

QRect DialogUnits::ToPixels(const Rect& r) {
  return QRect(ToPixelsX(r.x), ToPixelsY(r.y), ToPixelsX(r.cx), ToPixelsY(r.cy));
}

QFont DialogUnits::Font() {
  QFont font(QStringLiteral("DejaVu Sans"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}
