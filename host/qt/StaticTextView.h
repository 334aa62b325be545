// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static text: left or right aligned, wrapped at word breaks, '\n' starting a new line, and
// '&' underlining the next letter unless the control asks for plain text. An empty text is an
// empty control.
#include <QString>
#include <QWidget>

#include "host/qt/ControlView.h"

class StaticTextView : public QWidget, public ControlView {
 public:
  StaticTextView(QWidget* parent, std::uint32_t style);
  QWidget* widget() override { return this; }
  void Apply(const ControlModel& control, Change what) override;
  TextRoom Room() const override;
  const QString& text() const { return text_; }
  // The Qt::TextFlag and alignment flags the text is drawn with.
  int DrawFlags() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::uint32_t style_;
  QString text_;
};
