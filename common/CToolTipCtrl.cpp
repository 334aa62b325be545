// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CToolTipCtrl.h"

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD) { return pParentWnd ? TRUE : FALSE; }

// Our tooltips are always active: the host shows one when the pointer rests on its control.
void CToolTipCtrl::Activate(BOOL) {}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText) {
  if (!pWnd) return FALSE;
  CString text;
  text.LoadString(nIDText);
  pWnd->SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return TRUE;
}

// The host watches the pointer itself; nothing needs relaying.
void CToolTipCtrl::RelayEvent(MSG*) {}
