#include "common/CAnimateCtrl.h"

BOOL CAnimateCtrl::Open(const char* fileName) {
  WindowSystem& ws = WindowSystem::Get();
  ws.ClipOpen(m_hWnd, fileName ? fileName : "");
  const Window* w = ws.Find(m_hWnd);
  return w && w->clip ? TRUE : FALSE;
}

BOOL CAnimateCtrl::Play(UINT from, UINT to, UINT repeat) {
  // The control's message carries 16-bit frame numbers: -1 becomes 65535, "to the end".
  WindowSystem::Get().ClipPlay(m_hWnd, static_cast<int>(from & 0xFFFF),
                               static_cast<int>(to & 0xFFFF), static_cast<int>(repeat));
  const Window* w = WindowSystem::Get().Find(m_hWnd);
  return w && w->clip ? TRUE : FALSE;
}

BOOL CAnimateCtrl::Close() {
  WindowSystem::Get().ClipClose(m_hWnd);
  return TRUE;
}
