// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's menu; the program only appends to the main window's window menu.
#include "common/WinTypes.h"

class CMenu {
 public:
  explicit CMenu(HWND owner) : m_owner(owner) {}
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);

 private:
  HWND m_owner;
};
