// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CDataExchange.h"

#include "common/CWnd.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd != kNoWindow) return;
  rControl.Attach(WindowSystem::Get().GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bSaveAndValidate)
    value = pDX->m_pDlgWnd->GetDlgItemText(nIDC);
  else
    pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
}
