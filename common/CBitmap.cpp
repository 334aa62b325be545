#include "common/CBitmap.h"

#include "common/WindowSystem.h"

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
  DeleteObject();
  m_hObject = WindowSystem::Get().LoadBitmap(static_cast<int>(nIDResource));
  return m_hObject ? TRUE : FALSE;
}

BOOL CBitmap::DeleteObject() {
  if (!m_hObject) return FALSE;
  // A bitmap can outlive the run that loaded it (a dialog object destroyed after the end).
  try {
    WindowSystem::Get().DeleteBitmap(m_hObject);
  } catch (...) {
  }
  m_hObject = 0;
  return TRUE;
}
