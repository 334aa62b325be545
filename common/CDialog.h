// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A modal dialog built from a template. DoModal creates the window, disables the owner, runs
// OnInitDialog, shows the window and runs a nested loop until EndDialog; then the window is
// destroyed, the owner enabled again and the result returned.
#include "common/CDataExchange.h"
#include "common/CWnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  // A dialog whose template is made at run time (message boxes).
  CDialog(const DialogTemplate* tmpl, CWnd* pParentWnd);
  ~CDialog() override;

  virtual intptr_t DoModal();
  virtual BOOL OnInitDialog();
  void EndDialog(int nResult);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* pDX);
  const MsgMap* GetMessageMap() const override;
  void SetTemplate(const DialogTemplate* tmpl) { m_template = tmpl; }

 private:
  LRESULT HandleInitDialog();
  void OnOKCommand() { OnOK(); }
  void OnCancelCommand() { OnCancel(); }

  const DialogTemplate* m_template;
  CWnd* m_pParentWnd;
};
