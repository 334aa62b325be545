// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CScannerDlg.h"

#include <cstdio>
#include <cstring>

#include "abductee/CAbducteeResultsDlg.h"
#include "abductee/CAbducteeScanDlg.h"
#include "app/CAboutDlg.h"
#include "common/CMenu.h"
#include "common/CMessageBox.h"
#include "common/CWinApp.h"
#include "common/Cue.h"
#include "common/Random.h"
#include "common/Shell.h"
#include "res/ResourceIds.h"
#include "scan/CScanProgressDlg.h"
#include "scan/CScanResultsDlg.h"
#include "scan/LampBar.h"
#include "settings/CSetupDlg.h"

namespace {
constexpr UINT kMonitorTimer = 1;
constexpr UINT kMonitorPeriod = kMonitorPeriodMs;
constexpr UINT kIconId = IDR_MAINFRAME;
}  // namespace

int CScannerDlg::s_nSweepPos = 0;
int CScannerDlg::s_nSweepLeft = 0;

CScannerDlg::CScannerDlg(CWnd* pParent) : CDialog(IDD_SCANNER_DIALOG, pParent) {
  m_hIcon = AfxGetApp()->LoadIcon(kIconId);
}

CScannerDlg::~CScannerDlg() = default;

const MsgMap* CScannerDlg::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnSysCommandMessage<&CScannerDlg::OnSysCommand>(),
      OnMessage<WM_PAINT, &CScannerDlg::OnPaint>(),
      OnQuery<WM_QUERYDRAGICON, &CScannerDlg::OnQueryDragIcon>(),
      OnTimerMessage<&CScannerDlg::OnTimer>(),
      OnCommand<IDC_SCAN, &CScannerDlg::OnScan>(),
      OnCommand<IDC_ABOUT, &CScannerDlg::OnAbout>(),
      OnCommand<IDC_SETTINGS, &CScannerDlg::OnSettings>(),
      OnCommand<IDC_ABDUCTEE, &CScannerDlg::OnAbducteeScan>(),
  };
  static const MsgMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

void CScannerDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_LampBar(pDX, {&m_lamp1, &m_lamp2, &m_lamp3, &m_lamp4, &m_lamp5, &m_lamp6, &m_lamp7,
                    &m_lamp8, &m_lamp9, &m_lamp10});
  DDX_Control(pDX, IDC_ABDUCTEE, m_btnAbductee);
  DDX_Control(pDX, IDC_MINIMIZE, m_btnMinimize);
  DDX_Control(pDX, IDC_EXIT, m_btnExit);
  DDX_Control(pDX, IDC_SETTINGS, m_btnSettings);
  DDX_Control(pDX, IDC_SCAN, m_btnScan);
  DDX_Control(pDX, IDC_ABOUT, m_btnAbout);
  DDX_Control(pDX, IDC_ANIMATE, m_animate);
}

BOOL CScannerDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  CString about;
  about.LoadString(IDS_ABOUTBOX);
  if (!about.IsEmpty()) {
    CMenu* menu = GetSystemMenu(FALSE);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, ID_SYSMENU_ABOUT, about);
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  m_options.Read(1);
  m_bmpLampOff.LoadBitmap(IDB_LAMP_OFF);
  m_bmpLampOn.LoadBitmap(IDB_LAMP_ON);

  m_animate.Open("qx.avi");
  m_animate.Play(0, static_cast<UINT>(-1), 1);

  SeedRandom(WindowSystem::Get().clock().Seed());
  PostMessage(WM_STARTUP_NOTIFY, 0, 0);
  m_nMonitorTicks = 0;

  m_tooltip.Create(this, 0);
  m_tooltip.Activate(TRUE);
  m_tooltip.AddTool(GetDlgItem(IDC_MINIMIZE), IDS_TIP_MINIMIZE);
  m_tooltip.AddTool(GetDlgItem(IDC_SCAN), IDS_TIP_SCAN);
  m_tooltip.AddTool(GetDlgItem(IDC_ABDUCTEE), IDS_TIP_ABDUCTEE);
  m_tooltip.AddTool(GetDlgItem(IDC_SETTINGS), IDS_TIP_SETTINGS);
  m_tooltip.AddTool(GetDlgItem(IDC_ABOUT), IDS_TIP_ABOUT);
  m_tooltip.AddTool(GetDlgItem(IDC_EXIT), IDS_TIP_EXIT);
  return TRUE;
}

BOOL CScannerDlg::PreTranslateMessage(MSG* pMsg) {
  m_tooltip.RelayEvent(pMsg);
  return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CScannerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_STARTUP_NOTIFY) OnStartup();
  if (message == WM_TRAY_NOTIFY) OnTrayNotify(lParam);
  return CDialog::WindowProc(message, wParam, lParam);
}

void CScannerDlg::OnStartup() {
  if (!NotifyTrayIcon(kIconId, kIconId, NIM_ADD, m_hWnd, "Quorblex Pro")) m_bTrayMissing = true;
  if (m_options.Monitor) SetTimer(kMonitorTimer, kMonitorPeriod, nullptr);
  if (m_options.UseSounds) sndPlaySoundA("welcome.wav", SND_ASYNC);
}

void CScannerDlg::OnTrayNotify(LPARAM lParam) {
  if (lParam != WM_LBUTTONDOWN && lParam != WM_RBUTTONUP) return;
  ShowWindow(SW_SHOW);
  BringWindowToTop();
  m_animate.Play(0, static_cast<UINT>(-1), 1);
  if (m_options.Monitor) SetTimer(kMonitorTimer, kMonitorPeriod, nullptr);
}

BOOL CScannerDlg::NotifyTrayIcon(UINT identifier, UINT iconId, DWORD message, HWND hWnd,
                                 const char* tip) {
  NOTIFYICONDATAA nid;
  nid.cbSize = 88;
  nid.hWnd = hWnd;
  nid.uID = identifier + 999;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = WM_TRAY_NOTIFY;
  nid.hIcon = static_cast<HICON>(iconId);
  std::snprintf(nid.szTip, sizeof nid.szTip, "%s", tip ? tip : "");
  return Shell_NotifyIconA(message, &nid) ? TRUE : FALSE;
}

void CScannerDlg::PauseMonitor() {
  if (m_options.Monitor) KillTimer(kMonitorTimer);
}

void CScannerDlg::ResumeMonitor() {
  if (m_options.Monitor) SetTimer(kMonitorTimer, kMonitorPeriod, nullptr);
}

void CScannerDlg::OnTimer(UINT_PTR) {
  if (s_nSweepLeft) {
    if (s_nSweepPos < 1) {
      s_nSweepPos = 2;
      s_nSweepLeft = 0;
    }
    --s_nSweepPos;
  } else {
    if (s_nSweepPos > 10) {
      s_nSweepPos = 9;
      s_nSweepLeft = 1;
    }
    ++s_nSweepPos;
  }
  CStatic* lamps[] = {&m_lamp1, &m_lamp2, &m_lamp3, &m_lamp4, &m_lamp5,
                      &m_lamp6, &m_lamp7, &m_lamp8, &m_lamp9, &m_lamp10};
  for (int k = 1; k <= 10; ++k)
    lamps[k - 1]->SetBitmap(s_nSweepPos == k ? m_bmpLampOn : m_bmpLampOff);
  CheckMonitor();
  // Until the tick that takes the next reading, a tick only moves the lamps: nothing to see
  // while the window is hidden, so the program need not wake for it.
  SetQuietTicks(kMonitorTimer, kTicksPerCheck - 1 - m_nMonitorTicks);
  Default();
}

void CScannerDlg::CheckMonitor() {
  if (++m_nMonitorTicks < kTicksPerCheck) return;
  m_nMonitorTicks = 0;
  int r = Random(100);
  // Any stored int may arrive here: work in 64 bits so a huge Sensitivity cannot wrap round
  // into "never" (or a hugely negative one into "always").
  long long threshold = 100 - 10LL * m_options.Sensitivity;
  if (r <= threshold) return;
  KillTimer(kMonitorTimer);
  if (MessageBox(this, "Sensors Indicate Possible Activity!\nPerform Full Scan?", "Quorblex Pro",
                 MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
    OnScan();
  else
    SetTimer(kMonitorTimer, kMonitorPeriod, nullptr);
}

void CScannerDlg::OnScan() {
  CScanProgressDlg progress(nullptr);
  CScanResultsDlg results(nullptr);
  PauseMonitor();
  progress.m_bUseSounds = m_options.UseSounds;
  results.m_bUseSounds = m_options.UseSounds;
  progress.m_bScan1 = m_options.Scan1;
  progress.m_bScan2 = m_options.Scan2;
  progress.m_bScan3 = m_options.Scan3;
  progress.m_bScan4 = m_options.Scan4;
  progress.m_bScan5 = m_options.Scan5;
  if (progress.DoModal()) results.DoModal();
  ResumeMonitor();
}

void CScannerDlg::OnAbducteeScan() {
  CAbducteeScanDlg scan(nullptr);
  CAbducteeResultsDlg results(nullptr);
  scan.m_bUseSounds = m_options.UseSounds;
  results.m_bUseSounds = m_options.UseSounds;
  PauseMonitor();
  if (scan.DoModal()) results.DoModal();
  ResumeMonitor();
}

void CScannerDlg::OnSettings() {
  CSetupDlg setup(nullptr);
  PauseMonitor();
  if (setup.DoModal()) m_options.Read(1);
  // A click on the notification icon may have restarted the sweep while Setup was open; with
  // monitoring now off it must stop, or it would run, and alert, for the rest of the run.
  if (!m_options.Monitor && WindowSystem::Get().timers().IsRunning(m_hWnd, kMonitorTimer))
    KillTimer(kMonitorTimer);
  ResumeMonitor();
}

void CScannerDlg::OnAbout() {
  CAboutDlg about;
  PauseMonitor();
  about.DoModal();
  ResumeMonitor();
}

void CScannerDlg::OnOK() {
  // Without a notification icon nothing could bring a hidden window back: go to the task bar.
  ShowWindow(m_bTrayMissing ? SW_MINIMIZE : SW_HIDE);
}

void CScannerDlg::OnSysCommand(UINT nID, LPARAM) {
  if ((nID & SC_MASK) == ID_SYSMENU_ABOUT) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  Default();
}

// The desktop draws a minimized window's icon itself; there is nothing to paint here.
void CScannerDlg::OnPaint() { Default(); }

HICON CScannerDlg::OnQueryDragIcon() { return m_hIcon; }

BOOL CScannerDlg::DestroyWindow() {
  if (m_options.Monitor) KillTimer(kMonitorTimer);
  NotifyTrayIcon(kIconId, kIconId, NIM_DELETE, m_hWnd, "");
  m_animate.Close();
  return CDialog::DestroyWindow();
}
