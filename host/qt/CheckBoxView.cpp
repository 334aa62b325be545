// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/CheckBoxView.h"

#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>

CheckBoxView::CheckBoxView(QWidget* parent) : QCheckBox(parent) { setFocusPolicy(Qt::NoFocus); }

void CheckBoxView::Apply(const ControlModel& control, Change what) {
  if (what == Change::Text) {
    setText(QString::fromStdString(control.text));
    setShortcut(QKeySequence());  // the dialog's mnemonic, not Qt's
    return;
  }
  if (what == Change::Checked) {
    QSignalBlocker quiet(this);
    setChecked(control.checked != 0);
  }
}

// The label starts after the box and its spacing, and keeps two pixels for the focus frame.
ControlView::TextRoom CheckBoxView::Room() const {
  int box = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
            style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
  return {QSize(width() - box - 2, height())};
}

bool CheckBoxView::SetFocusLook(bool on) {
  if (focusLook_ == on) return false;
  focusLook_ = on;
  update();
  return true;
}

void CheckBoxView::initStyleOption(QStyleOptionButton* option) const {
  QCheckBox::initStyleOption(option);
  option->state &= ~QStyle::State_HasFocus;
  if (focusLook_) option->state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
}
