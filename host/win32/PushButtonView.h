// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A push button (BUTTON). It is drawn as the default button when the core says so, whatever
// has the focus; its mnemonic is the dialog's, handled by the core. With WS_EX_CLIENTEDGE it
// sits in a sunken well, as Windows draws that style.
#include "host/win32/ControlView.h"

class PushButtonView : public ControlView {
 public:
  PushButtonView(HWND dialog, const ControlModel& control);
  bool SetDefaultLook(bool on) override;

 private:
  bool isDefault_ = false;
};
