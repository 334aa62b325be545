// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A group box: an etched frame with a title. It takes no input; clicks fall through to what is
// under it.
#include <QGroupBox>

#include "host/qt/ControlView.h"

class GroupBoxView : public QGroupBox, public ControlView {
 public:
  explicit GroupBoxView(QWidget* parent);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel& control, Change what) override;
  TextRoom Room() const override;
};
