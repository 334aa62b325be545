// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification area: one icon per (window, identifier), with a tip and a callback message
// that the icon's mouse events arrive as.
#include "common/WinTypes.h"

struct NOTIFYICONDATAA {
  DWORD cbSize = 0;
  HWND hWnd = kNoWindow;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = 0;
  char szTip[64] = {};
};

BOOL Shell_NotifyIconA(DWORD dwMessage, NOTIFYICONDATAA* lpData);
