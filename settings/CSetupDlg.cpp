#include "settings/CSetupDlg.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/CWinApp.h"

CSetupDlg::CSetupDlg(CWnd* pParent) : CDialog(169, pParent) {}

CSetupDlg::~CSetupDlg() = default;

const MsgMap* CSetupDlg::GetMessageMap() const {
  static const MsgMap map{CDialog::GetMessageMap(), {}};
  return &map;
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, 1031, m_sliderSensitivity);
}

BOOL CSetupDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_options.Read(10);
  m_sliderSensitivity.SetRange(1, 10, TRUE);
  m_sliderSensitivity.SendMessage(TBM_SETPOS, TRUE, m_options.Sensitivity);
  CheckDlgButton(1024, static_cast<UINT>(m_options.UseSounds));
  CheckDlgButton(1030, static_cast<UINT>(m_options.Monitor));
  CheckDlgButton(1025, static_cast<UINT>(m_options.Scan1));
  CheckDlgButton(1026, static_cast<UINT>(m_options.Scan2));
  CheckDlgButton(1027, static_cast<UINT>(m_options.Scan3));
  CheckDlgButton(1028, static_cast<UINT>(m_options.Scan4));
  CheckDlgButton(1029, static_cast<UINT>(m_options.Scan5));
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
  write("UseSounds", state(1024));
  write("Monitor", state(1030));
  write("Scan1", state(1025));
  write("Scan2", state(1026));
  write("Scan3", state(1027));
  write("Scan4", state(1028));
  write("Scan5", state(1029));
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
  const std::string text =
      "Quorblex Pro could not save its settings to\n" + path + ":\n" + reason + ".";
  MessageBox(text.c_str(), "Quorblex Pro", MB_OK | MB_ICONEXCLAMATION);
}
