// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CBitmap.h"

#include "common/WindowSystem.h"

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
  DeleteObject();
  m_hObject = WindowSystem::Get().LoadBitmap(static_cast<int>(nIDResource));
  return m_hObject ? TRUE : FALSE;
}

BOOL CBitmap::DeleteObject() {
  if (!m_hObject) return FALSE;
  // A bitmap can outlive the run that loaded it; the run's bitmaps went with it.
  if (WindowSystem* ws = WindowSystem::Current()) ws->DeleteBitmap(m_hObject);
  m_hObject = 0;
  return TRUE;
}
