// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message box's icon, 32 x 32 pixels at the control's corner: the yellow warning triangle for
// ViewStyle::kIconExclamation, the red stop sign for ViewStyle::kIconHand.
#include <QWidget>

#include "host/qt/ControlView.h"

class IconView : public QWidget, public ControlView {
 public:
  IconView(QWidget* parent, std::uint32_t iconFlags);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel&, Change) override {}
  std::uint32_t IconFlags() const { return flags_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintExclamation(QPainter& p);
  void PaintStop(QPainter& p);
  std::uint32_t flags_;
};
