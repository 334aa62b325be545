// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/GroupBoxView.h"

GroupBoxView::GroupBoxView(QWidget* parent) : QGroupBox(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupBoxView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Text) return;
  setTitle(QString::fromStdString(control.text));
}

// The title stands in the frame's top edge, a margin of eight pixels at either end.
ControlView::TextRoom GroupBoxView::Room() const { return {QSize(width() - 16, height())}; }
