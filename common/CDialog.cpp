// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CDialog.h"

#include "common/CWinApp.h"
#include "common/DialogManager.h"

namespace {
WindowSystem& Ws() { return WindowSystem::Get(); }
}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_template(Resources::FindTemplate(static_cast<int>(nIDTemplate))),
      m_pParentWnd(pParentWnd) {}

CDialog::CDialog(const DialogTemplate* tmpl, CWnd* pParentWnd)
    : m_template(tmpl), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
  if (m_hWnd != kNoWindow) CWnd::DestroyWindow();
}

const MsgMap* CDialog::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnQuery<WM_INITDIALOG, &CDialog::HandleInitDialog>(),
      OnCommand<IDOK, &CDialog::OnOKCommand>(),
      OnCommand<IDCANCEL, &CDialog::OnCancelCommand>(),
  };
  static const MsgMap map{CWnd::GetMessageMap(), entries};
  return &map;
}

intptr_t CDialog::DoModal() {
  if (!m_template) return -1;
  CWnd* owner = m_pParentWnd;
  if (!owner) {
    CWinApp* app = AfxGetApp();
    owner = app ? app->m_pMainWnd : nullptr;
  }
  HWND hOwner = owner && owner != this ? owner->m_hWnd : kNoWindow;
  WindowSystem& ws = Ws();
  HWND h = ws.CreateDialogWindow(*m_template, hOwner, this);
  m_hWnd = h;
  bool ownerWasEnabled = false;
  if (const Window* o = ws.Find(hOwner)) {
    ownerWasEnabled = o->enabled;
    ws.Enable(hOwner, false);
  }
  if (SendMessage(WM_INITDIALOG, 0, 0)) ws.FocusFirstTabStop(h);
  if (const Window* w = ws.Find(h); w && !w->ended) ws.ShowInitial(h);
  int result = ws.RunModalLoop(h);
  DestroyWindow();
  if (ownerWasEnabled) ws.Enable(hOwner, true);
  ws.host().ModalEnded(m_template->id, result);
  return result;
}

LRESULT CDialog::HandleInitDialog() { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) { Ws().EndDialog(m_hWnd, nResult); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  return IsDialogMessage(Ws(), m_hWnd, *pMsg) ? TRUE : FALSE;
}
