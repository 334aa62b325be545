// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The widget of one control. It shows the core's state of the control and nothing else: the
// dialog window hands it the control's model whenever the core reports a change, and the view
// copies what it needs. Enabled, visible and tooltip are the dialog window's business, the same
// for every kind; the rest is the view's.
#include <QSize>

#include "common/Host.h"
#include "common/View.h"

class QWidget;

class ControlView {
 public:
  virtual ~ControlView() = default;
  virtual QWidget* widget() = 0;
  // Copies the part of `control` that `what` names.
  virtual void Apply(const ControlModel& control, Change what) = 0;
  // The keyboard focus and the default-button frame, both decided by the core. True when the
  // look changed.
  virtual bool SetFocusLook(bool) { return false; }
  virtual bool SetDefaultLook(bool) { return false; }
  // The room the control leaves its text: empty for a control that shows none. The dialog
  // fits one font to the rooms of all its controls (FontFit).
  struct TextRoom {
    QSize size;
    bool wraps = false;
    bool mnemonic = true;
  };
  virtual TextRoom Room() const { return {}; }
};
