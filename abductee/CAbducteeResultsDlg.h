// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The abductee verdict: the first tick starts "Analysis complete", the second draws and shows
// one of five verdicts.
#include "common/CDialog.h"

class CAbducteeResultsDlg : public CDialog {
 public:
  explicit CAbducteeResultsDlg(CWnd* pParent);
  ~CAbducteeResultsDlg() override;

  BOOL m_bUseSounds;

 protected:
  const MsgMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR nIDEvent);

 private:
  static UINT DrawVerdict();

  BOOL m_bAnnounced;
  CString m_strVerdict;
};
