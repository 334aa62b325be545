// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A checkbox that never ticks itself: a click is reported, and the tick follows the core's
// state when the core says it changed.
#include <QCheckBox>

#include "host/qt/ControlView.h"

class CheckBoxView : public QCheckBox, public ControlView {
 public:
  explicit CheckBoxView(QWidget* parent);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel& control, Change what) override;
  bool SetFocusLook(bool on) override;
  TextRoom Room() const override;
  bool FocusLook() const { return focusLook_; }

 protected:
  void nextCheckState() override {}
  void initStyleOption(QStyleOptionButton* option) const override;

 private:
  bool focusLook_ = false;
};
