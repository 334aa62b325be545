// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Setup dialog: seven switches and the sensitivity trackbar, filled from the profile when
// it opens and written back, all eight, on OK. Cancel writes nothing. When the profile cannot
// be written, OK says so in a message box (and on standard error) before the dialog closes.
#include "common/CDialog.h"
#include "common/CSliderCtrl.h"
#include "settings/ScannerSettings.h"

class CSetupDlg : public CDialog {
 public:
  explicit CSetupDlg(CWnd* pParent);
  ~CSetupDlg() override;

 protected:
  const MsgMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void ReportSaveFailure(int error);

  ScannerSettings m_options;  // only to fill the controls
  CSliderCtrl m_sliderSensitivity;
};
