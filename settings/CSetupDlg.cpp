// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/CSetupDlg.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/CMessageBox.h"
#include "common/CWinApp.h"
#include "res/ResourceIds.h"

CSetupDlg::CSetupDlg(CWnd* pParent) : CDialog(IDD_SETUP, pParent) {}

CSetupDlg::~CSetupDlg() = default;

const MsgMap* CSetupDlg::GetMessageMap() const {
  static const MsgMap map{CDialog::GetMessageMap(), {}};
  return &map;
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SENSITIVITY, m_sliderSensitivity);
}

BOOL CSetupDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_options.Read(10);
  m_sliderSensitivity.SetRange(1, 10, TRUE);
  m_sliderSensitivity.SendMessage(TBM_SETPOS, TRUE, m_options.Sensitivity);
  CheckDlgButton(IDC_USE_SOUNDS, static_cast<UINT>(m_options.UseSounds));
  CheckDlgButton(IDC_MONITOR, static_cast<UINT>(m_options.Monitor));
  CheckDlgButton(IDC_SCAN1, static_cast<UINT>(m_options.Scan1));
  CheckDlgButton(IDC_SCAN2, static_cast<UINT>(m_options.Scan2));
  CheckDlgButton(IDC_SCAN3, static_cast<UINT>(m_options.Scan3));
  CheckDlgButton(IDC_SCAN4, static_cast<UINT>(m_options.Scan4));
  CheckDlgButton(IDC_SCAN5, static_cast<UINT>(m_options.Scan5));
  return TRUE;
}

void CSetupDlg::OnOK() {
  CWinApp* app = AfxGetApp();
  int failure = 0;  // why the first write that failed did, as an errno value
  auto write = [app, &failure](const char* key, int value) {
    // Each write stands by itself: one that fails does not stop the others.
    if (!app->WriteProfileInt("Options", key, value) && failure == 0) {
      failure = errno != 0 ? errno : EIO;
    }
  };
  auto state = [this](int id) { return IsDlgButtonChecked(id) ? 1 : 0; };
  write("UseSounds", state(IDC_USE_SOUNDS));
  write("Monitor", state(IDC_MONITOR));
  write("Scan1", state(IDC_SCAN1));
  write("Scan2", state(IDC_SCAN2));
  write("Scan3", state(IDC_SCAN3));
  write("Scan4", state(IDC_SCAN4));
  write("Scan5", state(IDC_SCAN5));
  write("Sensitivity", static_cast<int>(m_sliderSensitivity.SendMessage(TBM_GETPOS, 0, 0)));
  if (failure != 0) ReportSaveFailure(failure);
  CDialog::OnOK();
}

// The user's choices would be gone at the next start, so say so once, on the terminal as well
// for anyone who started the program from one.
void CSetupDlg::ReportSaveFailure(int error) {
  const std::string& path = CWinApp::ProfilePath();
  const char* reason = std::strerror(error);
  std::fprintf(stderr, "Quorblex Pro could not save its settings to %s: %s.\n", path.c_str(),
               reason);
  std::fflush(stderr);
  std::string text = "Quorblex Pro could not save its settings to\n";
  text += path;
  text += ":\n";
  text += reason;
  text += '.';
  MessageBox(this, text.c_str(), "Quorblex Pro", MB_OK | MB_ICONEXCLAMATION);
}
