// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/PushButtonView.h"

#include <qdrawutil.h>

#include <QStyleOptionButton>
#include <QStylePainter>

PushButtonView::PushButtonView(QWidget* parent, std::uint32_t exStyle)
    : QPushButton(parent), sunken_(exStyle & ViewStyle::kExClientEdge) {
  setFocusPolicy(Qt::NoFocus);
  setAutoDefault(false);
}

void PushButtonView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Text) return;
  setText(QString::fromStdString(control.text));
  // setText grabbed the mnemonic as a shortcut; the dialog handles Alt+letter itself.
  setShortcut(QKeySequence());
}

// Inside the button's edges, and the default frame when it wears one.
ControlView::TextRoom PushButtonView::Room() const { return {ButtonRect().size() - QSize(8, 0)}; }

bool PushButtonView::SetFocusLook(bool on) {
  if (focusLook_ == on) return false;
  focusLook_ = on;
  update();
  return true;
}

bool PushButtonView::SetDefaultLook(bool on) {
  if (isDefault() == on) return false;
  setDefault(on);
  return true;
}

void PushButtonView::initStyleOption(QStyleOptionButton* option) const {
  QPushButton::initStyleOption(option);
  option->state &= ~QStyle::State_HasFocus;
  if (focusLook_) option->state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
}

QRect PushButtonView::ButtonRect() const {
  return sunken_ ? rect().adjusted(2, 2, -2, -2) : rect();
}

bool PushButtonView::hitButton(const QPoint& pos) const { return ButtonRect().contains(pos); }

void PushButtonView::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  if (sunken_) qDrawWinPanel(&p, rect(), palette(), true);
  option.rect = ButtonRect();
  if (isDefault()) {
    // The default button wears a black frame, the button itself drawn one pixel smaller.
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(option.rect.adjusted(0, 0, -1, -1));
    option.rect.adjust(1, 1, -1, -1);
    option.features &= ~QStyleOptionButton::DefaultButton;
  }
  p.drawControl(QStyle::CE_PushButton, option);
}
