// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A trackbar. A position outside the range lands on the nearer end.
#include "common/CWnd.h"

class CSliderCtrl : public CWnd {
 public:
  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE) {
    (void)bRedraw;
    SendMessage(TBM_SETRANGE, TRUE, static_cast<LPARAM>(MAKEWPARAM(nMin, nMax)));
  }
  void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
  int GetPos() { return static_cast<int>(SendMessage(TBM_GETPOS, 0, 0)); }
};
