// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tooltips: one tool per control, with its text from the string table. The host shows the
// text when the pointer rests on the control.
#include "common/CWnd.h"

class CToolTipCtrl {
 public:
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  void Activate(BOOL bActivate);
  BOOL AddTool(CWnd* pWnd, UINT nIDText);
  void RelayEvent(MSG* pMsg);
};
