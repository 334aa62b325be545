// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first stage of a full scan: twelve one-second steps light ten lamps, name the scanning
// method in use and sound a tone for each; then the dialog ends itself with 1. Abort ends it
// with 0; Esc and the close box with 2.
#include "common/CBitmap.h"
#include "common/CButton.h"
#include "common/CDialog.h"
#include "common/CStatic.h"

class CScanProgressDlg : public CDialog {
 public:
  explicit CScanProgressDlg(CWnd* pParent);
  ~CScanProgressDlg() override;

  BOOL m_bScan5, m_bScan4, m_bScan3, m_bScan2, m_bScan1;
  BOOL m_bUseSounds;

 protected:
  const MsgMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnTimer(UINT_PTR nIDEvent);

 private:
  void MethodStep(CStatic& lamp, CStatic& next, BOOL on, UINT textId);

  CString m_strStatus;
  int m_nTick;
  CBitmap m_bmpLampOff;
  CBitmap m_bmpLampOn;
  CButton m_btnAbort;
  CStatic m_lamp9, m_lamp8, m_lamp7, m_lamp6, m_lamp5, m_lamp4, m_lamp3, m_lamp2, m_lamp10,
      m_lamp1;
};
