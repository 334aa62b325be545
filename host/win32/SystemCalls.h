// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The few Windows calls whose outcome depends on more than this program: whether Windows lets
// it take the foreground, what the notification area does with its icon, which faces the
// system carries, what a screen reader is told. The host makes them only through here, so that
// a test can stand in for a Windows that refuses the foreground, has no notification area yet
// or carries a bitmap face, and can see the calls made. Everything else the host calls
// directly.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

class SystemCalls {
 public:
  virtual ~SystemCalls() = default;
  // The calls as Windows makes them.
  static SystemCalls& Real();

  // SetForegroundWindow; false when Windows refused.
  virtual bool SetForeground(HWND window);
  virtual HWND Foreground();
  // Flashes the window's caption and task-bar button until the user turns to it.
  virtual void Flash(HWND window);
  virtual bool NotifyIcon(DWORD message, NOTIFYICONDATAW& data);
  // Explorer's task bar is there (at logon it may come after the program).
  virtual bool TaskbarPresent();
  virtual HFONT MakeFont(const LOGFONTW& font);
  // A screen reader's view of `window`'s client: its role (ROLE_SYSTEM_...) and whether a
  // change of its text is read out politely (a live region).
  virtual void SetRole(HWND window, int role);
  virtual void MarkLive(HWND window);
  // NotifyWinEvent: `event` (EVENT_...) for `window`'s `object` (OBJID_WINDOW, OBJID_CLIENT).
  virtual void Announce(HWND window, DWORD event, LONG object);

 protected:
  SystemCalls() = default;
};

// Events and values newer than mingw-w64's headers.
namespace Accessibility {
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
constexpr int kPolite = 1;                    // LiveSetting's Polite
}  // namespace Accessibility
