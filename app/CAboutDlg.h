// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: name, version, picture, credits and a Help button.
#include "common/CDialog.h"
#include "common/Help.h"
#include "res/ResourceIds.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

 protected:
  const MsgMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override { CDialog::DoDataExchange(pDX); }

 private:
  void OnHelpButton() { WinHelp(this, HELP_CONTENTS); }
};
