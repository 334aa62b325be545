// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A push button. The focus rectangle and the default frame are the core's: Qt's own focus
// never lands on it, and its mnemonic is the dialog's, not a Qt shortcut. With
// ViewStyle::kExClientEdge it sits in a sunken two-pixel well, the button drawn inside it.
#include <QPushButton>

#include "host/qt/ControlView.h"

class PushButtonView : public QPushButton, public ControlView {
 public:
  PushButtonView(QWidget* parent, std::uint32_t exStyle);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel& control, Change what) override;
  bool SetFocusLook(bool on) override;
  bool SetDefaultLook(bool on) override;
  TextRoom Room() const override;
  bool FocusLook() const { return focusLook_; }

 protected:
  void initStyleOption(QStyleOptionButton* option) const override;
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  QRect ButtonRect() const;
  bool sunken_;
  bool focusLook_ = false;
};
