// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the clip, the sweeping lamp bar, six buttons, the notification icon and the
// background monitor that now and then offers a scan.
#include "common/CAnimateCtrl.h"
#include "common/CBitmap.h"
#include "common/CButton.h"
#include "common/CDialog.h"
#include "common/CStatic.h"
#include "common/CToolTipCtrl.h"
#include "settings/ScannerSettings.h"

constexpr UINT ID_SYSMENU_ABOUT = 0x0010;

class CScannerDlg : public CDialog {
 public:
  explicit CScannerDlg(CWnd* pParent);
  ~CScannerDlg() override;

  BOOL DestroyWindow() override;

 protected:
  const MsgMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

  void OnSysCommand(UINT nID, LPARAM lParam);
  void OnPaint();
  HICON OnQueryDragIcon();
  void OnTimer(UINT_PTR nIDEvent);
  void OnScan();
  void OnAbout();
  void OnSettings();
  void OnAbducteeScan();

 private:
  void PauseMonitor();
  void ResumeMonitor();
  void OnStartup();
  void OnTrayNotify(LPARAM lParam);
  void CheckMonitor();
  BOOL NotifyTrayIcon(UINT identifier, UINT iconId, DWORD message, HWND hWnd, const char* tip);

  int m_nMonitorTicks = 0;
  ScannerSettings m_options;  // the working copy the whole program uses
  CBitmap m_bmpLampOn;
  CBitmap m_bmpLampOff;
  CStatic m_lamp9, m_lamp8, m_lamp7, m_lamp6, m_lamp5, m_lamp4, m_lamp3, m_lamp2, m_lamp10,
      m_lamp1;
  CButton m_btnAbductee, m_btnMinimize, m_btnExit, m_btnSettings, m_btnScan, m_btnAbout;
  CAnimateCtrl m_animate;
  CToolTipCtrl m_tooltip;
  HICON m_hIcon;
  // Set when the desktop had no notification area, so Minimize must not hide for good.
  bool m_bTrayMissing = false;

  // The sweep survives pauses and restores, and is shared by the whole program.
  static int s_nSweepPos;
  static int s_nSweepLeft;
};
