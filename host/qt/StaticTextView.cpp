// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/StaticTextView.h"

#include <QPainter>
#include <QStyle>

StaticTextView::StaticTextView(QWidget* parent, std::uint32_t style) : QWidget(parent), style_(style) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StaticTextView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Text) return;
  text_ = QString::fromStdString(control.text);
  update();
}

ControlView::TextRoom StaticTextView::Room() const {
  return {size(), true, !(style_ & ViewStyle::kNoPrefix)};
}

int StaticTextView::DrawFlags() const {
  int flags = Qt::AlignTop | Qt::TextWordWrap;
  flags |= (style_ & 0xF) == ViewStyle::kRight ? Qt::AlignRight : Qt::AlignLeft;
  if (!(style_ & ViewStyle::kNoPrefix)) flags |= Qt::TextShowMnemonic;
  return flags;
}

void StaticTextView::paintEvent(QPaintEvent*) {
  if (text_.isEmpty()) return;
  QPainter p(this);
  p.setFont(font());
  if (isEnabled()) {
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), DrawFlags(), text_);
    return;
  }
  // Greyed text is etched: a light copy one pixel down and right under the dark one.
  p.setPen(palette().color(QPalette::Light));
  p.drawText(rect().translated(1, 1), DrawFlags(), text_);
  p.setPen(palette().color(QPalette::Dark));
  p.drawText(rect(), DrawFlags(), text_);
}
