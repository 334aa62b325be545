// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/IconView.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kIconSize = 32;
}

IconView::IconView(QWidget* parent, std::uint32_t iconFlags) : QWidget(parent), flags_(iconFlags) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  resize(kIconSize, kIconSize);
}

void IconView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  if (flags_ == ViewStyle::kIconExclamation) PaintExclamation(p);
  if (flags_ == ViewStyle::kIconHand) PaintStop(p);
}

void IconView::PaintExclamation(QPainter& p) {
  QPainterPath triangle;
  triangle.moveTo(16, 1.5);
  triangle.lineTo(30.5, 29.5);
  triangle.lineTo(1.5, 29.5);
  triangle.closeSubpath();
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(255, 255, 0));
  p.drawPath(triangle);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRoundedRect(QRectF(14, 9, 4, 13), 1.5, 1.5);
  p.drawEllipse(QRectF(14, 23.5, 4, 4));
}

void IconView::PaintStop(QPainter& p) {
  p.setPen(QPen(QColor(128, 0, 0), 1.5));
  p.setBrush(QColor(255, 0, 0));
  p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
  p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(10, 10), QPointF(22, 22));
  p.drawLine(QPointF(22, 10), QPointF(10, 22));
}
