// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification icon: Shell_NotifyIconW with the program icon (resource 128), the id the
// program gives its icon (1127) and its tip. Mouse messages on the icon come to a hidden window
// of its own and are reported as the mouse messages the program listens for; it has no menu.
// When Explorer starts again, the task bar tells every top-level window ("TaskbarCreated"), and
// the icon is added again. When the first add fails (at logon Explorer may not be ready yet),
// the icon's window stays: it tries again every few seconds for a minute, and adds the icon when
// the task bar is made.
//
// The icon can show a balloon: the program's icon, no sound.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <functional>
#include <string>

#include "host/win32/GdiObjects.h"
#include "host/win32/SystemCalls.h"

class TrayIcon {
 public:
  static constexpr UINT kId = 1127;
  static constexpr const wchar_t* kClassName = L"QuorblexTray";
  static void RegisterClass(HINSTANCE instance);

  // Adds the icon at once. `report` receives the mouse message (WM_LBUTTONDOWN, ...).
  TrayIcon(const std::string& tip, std::function<void(int message)> report,
           SystemCalls& calls = SystemCalls::Real());
  ~TrayIcon();  // takes the icon away
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // False while there is no notification area to put the icon in.
  bool Added() const { return added_; }
  // True when the task bar is not there yet, so that the icon will come when it is made.
  bool Expected() const;
  void ShowBalloon(const std::string& title, const std::string& text);
  void HideBalloon();
  // The mouse message a callback's lParam stands for; 0 for the ones the program has no use for.
  static int MessageFor(LPARAM lParam);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static constexpr UINT kCallback = WM_APP + 1;
  static constexpr UINT_PTR kRetryTimer = 1;
  static constexpr UINT kRetryMs = 5000;
  static constexpr int kRetries = 12;
  bool Add();
  void Retry();
  NOTIFYICONDATAW Data(UINT flags) const;

  SystemCalls& calls_;

  std::wstring tip_;
  std::function<void(int)> report_;
  HWND window_ = nullptr;
  UINT taskbarCreated_ = 0;
  IconObject icon_, balloonIcon_;
  bool added_ = false;
  int retries_ = 0;
};
