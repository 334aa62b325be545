// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/FontFit.h"

QFont FontFit::Fit(const QFont& base, const std::function<bool(const QFontMetrics&)>& fits) {
  QFont font = base;
  for (int stretch : {100, 94, 87, 81, 75}) {
    font.setStretch(stretch);
    if (fits(QFontMetrics(font))) return font;
  }
  return font;
}

int FontFit::TextWidth(const QFontMetrics& metrics, const QString& text, bool mnemonic) {
  int flags = mnemonic ? Qt::TextShowMnemonic : 0;
  return metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), flags, text).width();
}
