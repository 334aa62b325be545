#include "common/CToolTipCtrl.h"

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD) {
  m_pParent = pParentWnd;
  return m_pParent ? TRUE : FALSE;
}

void CToolTipCtrl::Activate(BOOL bActivate) { m_bActive = bActivate != FALSE; }

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText) {
  if (!pWnd) return FALSE;
  CString text;
  text.LoadString(nIDText);
  WindowSystem::Get().SetTooltip(pWnd->m_hWnd, text.str());
  return TRUE;
}

// The host watches the pointer itself; nothing needs relaying.
void CToolTipCtrl::RelayEvent(MSG*) {}
