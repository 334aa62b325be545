// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The framework's window object: a C++ object attached to one window of the window system.
// Messages reach it through WindowProc, which looks them up in the class's message map and
// hands the rest to the window's default processing.
//
// A control's state (text, picture, check, trackbar, clip, tooltip) changes only by a message
// to the control, as on the platform, so that a control's own object may see it; what the
// platform does by function (ShowWindow, EnableWindow, timers, the menu) calls the window
// system's function. Message boxes and help are services above this class (CMessageBox.h,
// Help.h).
#include <map>
#include <memory>

#include "common/CString.h"
#include "common/MessageMap.h"
#include "common/WindowSystem.h"

class CMenu;

class CWnd : public WindowObject {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = kNoWindow;

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL DestroyWindow();
  virtual const MsgMap* GetMessageMap() const;

  // Calls WindowProc with `message` remembered for Default.
  LRESULT CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam) final;
  void WindowDestroyed() final { m_hWnd = kNoWindow; }
  // Binds this object to an existing window (a dialog's control).
  void Attach(HWND hwnd);
  void Detach();

  // Operations on the window.
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer);
  BOOL KillTimer(UINT_PTR nIDEvent);
  // The timer's next `nTicks` ticks show nothing while every window is hidden, so the window
  // system may sleep through them (WindowSystem::SetQuietTicks says what such a tick may do).
  void SetQuietTicks(UINT_PTR nIDEvent, int nTicks);
  CWnd* GetDlgItem(int nID);
  void SetDlgItemText(int nID, const char* text);
  CString GetDlgItemText(int nID) const;
  void SetWindowText(const char* text);
  CString GetWindowText() const;
  BOOL EnableWindow(BOOL bEnable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;
  void BringWindowToTop();
  void CheckDlgButton(int nIDButton, UINT nCheck);
  UINT IsDlgButtonChecked(int nIDButton) const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  CMenu* GetSystemMenu(BOOL bRevert);
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);

 protected:
  // The default processing of the message being handled.
  LRESULT Default();
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  void OnTimer(UINT_PTR nIDEvent);

 private:
  MSG m_current;
  std::map<HWND, std::unique_ptr<CWnd>> m_temporaries;
  std::unique_ptr<CMenu> m_sysMenu;
  HICON m_icons[2] = {0, 0};
};
