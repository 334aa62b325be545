// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The abductee scan: a sensor plate whose eight dots twinkle while the dialog waits. ENTER (or
// Scan) turns them green and greys both buttons; a tick later the cues play and the dialog ends
// with 1. Cancel, Esc and the close box end it with 0.
#include "common/CBitmap.h"
#include "common/CDialog.h"
#include "common/CStatic.h"

class CAbducteeScanDlg : public CDialog {
 public:
  explicit CAbducteeScanDlg(CWnd* pParent);
  ~CAbducteeScanDlg() override;

  BOOL m_bUseSounds;

 protected:
  const MsgMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnTimer(UINT_PTR nIDEvent);

 private:
  enum Phase { kIdle = 0, kRequested = 1, kScanning = 2 };
  void Twinkle();
  CStatic& Dot(int index);

  int m_nPhase;
  BOOL m_bDotLit[8];
  CBitmap m_bmpDotGrey;
  CBitmap m_bmpDotRed;
  CBitmap m_bmpDotGreen;
  CBitmap m_bmpDotAmber;
  CBitmap m_bmpDotBlue;
  CStatic m_dot1039, m_dot1038, m_dot1037, m_dot1036, m_dot1035, m_dot1034, m_dot1033,
      m_dot1032;
};
