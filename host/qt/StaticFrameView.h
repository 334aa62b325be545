// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The black statics: a filled black rectangle (the main window's screen) or a black frame
// (the scan dialog's lamp bar), each with its sunken edge when the control asks for one.
// Neither takes input, and a frame's inside is left to whatever lies under it.
#include <QWidget>

#include "host/qt/ControlView.h"

class StaticFrameView : public QWidget, public ControlView {
 public:
  StaticFrameView(QWidget* parent, ControlKind kind, std::uint32_t style, std::uint32_t exStyle);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel&, Change) override {}

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool filled_;
  std::uint32_t style_, exStyle_;
};
