// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static text (STATIC): left or right aligned and wrapped at the control's width as the
// template says; an ampersand underlines the next letter unless the template has SS_NOPREFIX.
#include "host/win32/ControlView.h"

class StaticTextView : public ControlView {
 public:
  StaticTextView(HWND dialog, const ControlModel& control)
      : ControlView(dialog, control, L"STATIC", control.style & (SS_TYPEMASK | SS_NOPREFIX)) {}
};
