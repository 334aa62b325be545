// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A horizontal trackbar with a tick at every position above the channel. A drag or a click on
// the channel is reported as the position the user asked for; the thumb itself stays where
// the core has it until the core says it moved.
#include <QSlider>
#include <functional>

#include "host/qt/ControlView.h"

class TrackbarView : public QSlider, public ControlView {
 public:
  TrackbarView(QWidget* parent, std::function<void(int pos)> onSlide);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel& control, Change what) override;
  bool SetFocusLook(bool on) override;
  bool FocusLook() const { return focusLook_; }

 protected:
  void initStyleOption(QStyleOptionSlider* option) const override;

 private:
  void OnAction(int action);
  std::function<void(int)> onSlide_;
  bool focusLook_ = false;
};
