// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CAboutDlg.h"

const MsgMap* CAboutDlg::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnCommand<IDC_HELP_BUTTON, &CAboutDlg::OnHelpButton>(),
  };
  static const MsgMap map{CDialog::GetMessageMap(), entries};
  return &map;
}
