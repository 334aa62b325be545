// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CMenu.h"

#include "common/WindowSystem.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
  MenuItem item;
  if (!(nFlags & MF_SEPARATOR)) {
    item.id = static_cast<UINT>(nIDNewItem);
    item.text = lpszNewItem ? lpszNewItem : "";
  }
  WindowSystem::Get().AppendMenuItem(m_owner, std::move(item));
  return TRUE;
}
