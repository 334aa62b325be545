// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/TrackbarView.h"

#include <QSignalBlocker>
#include <QStyleOptionSlider>
#include <algorithm>

TrackbarView::TrackbarView(QWidget* parent, std::function<void(int pos)> onSlide)
    : QSlider(Qt::Horizontal, parent), onSlide_(std::move(onSlide)) {
  setFocusPolicy(Qt::NoFocus);
  setTickPosition(QSlider::TicksAbove);
  setTickInterval(1);
  setSingleStep(1);
  connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { OnAction(action); });
}

void TrackbarView::Apply(const ControlModel& control, Change what) {
  if (what != Change::Trackbar) return;
  QSignalBlocker quiet(this);
  setRange(control.trackMin, control.trackMax);
  // A click on the channel pages by a fifth of the range, as the classic control does.
  setPageStep(std::max(1, (control.trackMax - control.trackMin) / 5));
  setValue(control.trackPos);
}

void TrackbarView::OnAction(int action) {
  if (action == QAbstractSlider::SliderNoAction) return;
  int wanted = sliderPosition();
  // Qt has already moved the thumb; put it back. The core's answer moves it for real.
  setSliderPosition(value());
  if (wanted != value() && onSlide_) onSlide_(wanted);
}

bool TrackbarView::SetFocusLook(bool on) {
  if (focusLook_ == on) return false;
  focusLook_ = on;
  update();
  return true;
}

void TrackbarView::initStyleOption(QStyleOptionSlider* option) const {
  QSlider::initStyleOption(option);
  option->state &= ~QStyle::State_HasFocus;
  if (focusLook_) option->state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
}
