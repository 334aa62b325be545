// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The second stage of a full scan: presence, proximity, type and abduction probability are
// drawn one after another and announced by chains of spoken cues. The reveal stops after the
// first line when nobody is there, or when the user is the alien.
#include "common/CButton.h"
#include "common/CDialog.h"

class CScanResultsDlg : public CDialog {
 public:
  explicit CScanResultsDlg(CWnd* pParent);
  ~CScanResultsDlg() override;

  BOOL m_bUseSounds;

 protected:
  const MsgMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR nIDEvent);

 private:
  int AnnouncePresence();
  int AnnounceProximity(int presence);
  int AnnounceType(int proximity);
  void AnnounceAbduction();
  void Cue(const char* name);
  void ShowString(int controlId, UINT stringId);

  int m_nTick;
  CButton m_btnOK;
};
