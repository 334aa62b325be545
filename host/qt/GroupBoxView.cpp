// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/GroupBoxView.h"

#include "host/qt/FontFit.h"

GroupBoxView::GroupBoxView(QWidget* parent) : QGroupBox(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupBoxView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Text) return;
  setTitle(QString::fromStdString(control.text));
  QFont base = parentWidget() ? parentWidget()->font() : font();
  setFont(FontFit::Fit(base, [this](const QFontMetrics& m) {
    return FontFit::TextWidth(m, title()) + 16 <= width();
  }));
}
