// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Shell.h"

#include <cstring>
#include <string>

#include "common/WindowSystem.h"

BOOL Shell_NotifyIconA(DWORD dwMessage, NOTIFYICONDATAA* lpData) {
  if (!lpData) return FALSE;
  WindowSystem& ws = WindowSystem::Get();
  if (dwMessage == NIM_ADD) {
    std::string tip(lpData->szTip, strnlen(lpData->szTip, sizeof lpData->szTip));
    return ws.TrayAdd(lpData->hWnd, lpData->uID, lpData->uCallbackMessage, tip) ? TRUE : FALSE;
  }
  if (dwMessage == NIM_DELETE) return ws.TrayDelete(lpData->hWnd, lpData->uID) ? TRUE : FALSE;
  return FALSE;
}
