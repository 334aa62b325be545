#include "settings/CSetupDlg.h"

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
  auto state = [this](int id) { return IsDlgButtonChecked(id) ? 1 : 0; };
  app->WriteProfileInt("Options", "UseSounds", state(IDC_USE_SOUNDS));
  app->WriteProfileInt("Options", "Monitor", state(IDC_MONITOR));
  app->WriteProfileInt("Options", "Scan1", state(IDC_SCAN1));
  app->WriteProfileInt("Options", "Scan2", state(IDC_SCAN2));
  app->WriteProfileInt("Options", "Scan3", state(IDC_SCAN3));
  app->WriteProfileInt("Options", "Scan4", state(IDC_SCAN4));
  app->WriteProfileInt("Options", "Scan5", state(IDC_SCAN5));
  app->WriteProfileInt("Options", "Sensitivity",
                       static_cast<int>(m_sliderSensitivity.SendMessage(TBM_GETPOS, 0, 0)));
  CDialog::OnOK();
}
