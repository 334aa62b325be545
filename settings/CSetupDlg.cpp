#include "settings/CSetupDlg.h"

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
  auto state = [this](int id) { return IsDlgButtonChecked(id) ? 1 : 0; };
  app->WriteProfileInt("Options", "UseSounds", state(1024));
  app->WriteProfileInt("Options", "Monitor", state(1030));
  app->WriteProfileInt("Options", "Scan1", state(1025));
  app->WriteProfileInt("Options", "Scan2", state(1026));
  app->WriteProfileInt("Options", "Scan3", state(1027));
  app->WriteProfileInt("Options", "Scan4", state(1028));
  app->WriteProfileInt("Options", "Scan5", state(1029));
  app->WriteProfileInt("Options", "Sensitivity",
                       static_cast<int>(m_sliderSensitivity.SendMessage(TBM_GETPOS, 0, 0)));
  CDialog::OnOK();
}
