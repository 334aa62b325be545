// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/StaticFrameView.h"

#include <qdrawutil.h>

#include <QPainter>

StaticFrameView::StaticFrameView(QWidget* parent, ControlKind kind, std::uint32_t style, std::uint32_t exStyle)
    : QWidget(parent), filled_(kind == ControlKind::BlackRect), style_(style), exStyle_(exStyle) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent, filled_);
}

void StaticFrameView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect r = rect();
  if (exStyle_ & ViewStyle::kExClientEdge) {
    qDrawWinPanel(&p, r, palette(), true);
    r.adjust(2, 2, -2, -2);
  } else if (style_ & ViewStyle::kSunken) {
    qDrawShadePanel(&p, r, palette(), true, 1);
    r.adjust(1, 1, -1, -1);
  }
  if (filled_) {
    p.fillRect(r, Qt::black);
    return;
  }
  p.setPen(Qt::black);
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(0, 0, -1, -1));
}
