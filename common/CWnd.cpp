// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CWnd.h"

#include "common/CMenu.h"

namespace {
WindowSystem& Ws() { return WindowSystem::Get(); }
}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() { Detach(); }

void CWnd::Attach(HWND hwnd) {
  Detach();
  m_hWnd = hwnd;
  if (Window* w = Ws().Find(hwnd)) w->object = this;
}

void CWnd::Detach() {
  if (m_hWnd == kNoWindow) return;
  // With no window system left there is no window to let go of.
  if (WindowSystem* ws = WindowSystem::Current()) {
    if (Window* w = ws->Find(m_hWnd); w && w->object == this) w->object = nullptr;
  }
  m_hWnd = kNoWindow;
}

const MsgMap* CWnd::GetMessageMap() const {
  static const MsgMapEntry entries[] = {
      OnTimerMessage<&CWnd::OnTimer>(),
  };
  static const MsgMap map{nullptr, entries};
  return &map;
}

LRESULT CWnd::CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  MSG saved = m_current;
  m_current = {m_hWnd, message, wParam, lParam};
  LRESULT r = WindowProc(message, wParam, lParam);
  m_current = saved;
  return r;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  UINT id = 0;
  if (message == WM_COMMAND) {
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    id = static_cast<UINT>(LOWORD(wParam));
  }
  for (const MsgMap* map = GetMessageMap(); map; map = map->base) {
    for (const auto& e : map->entries) {
      if (e.message != message || e.id != id) continue;
      *pResult = e.call(this, wParam, lParam);
      return TRUE;
    }
  }
  return FALSE;
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return Ws().DefWindowProc(m_hWnd, message, wParam, lParam);
}

void CWnd::OnTimer(UINT_PTR) { Default(); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == kNoWindow) return FALSE;
  HWND h = m_hWnd;
  m_temporaries.clear();
  m_sysMenu.reset();
  Ws().Destroy(h);
  m_hWnd = kNoWindow;
  return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void*) {
  Ws().SetTimer(m_hWnd, static_cast<UINT>(nIDEvent), static_cast<int>(nElapse));
  return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
  bool running = Ws().timers().IsRunning(m_hWnd, static_cast<UINT>(nIDEvent));
  Ws().KillTimer(m_hWnd, static_cast<UINT>(nIDEvent));
  return running ? TRUE : FALSE;
}

void CWnd::SetQuietTicks(UINT_PTR nIDEvent, int nTicks) {
  Ws().SetQuietTicks(m_hWnd, static_cast<UINT>(nIDEvent), nTicks);
}

CWnd* CWnd::GetDlgItem(int nID) {
  HWND h = Ws().GetDlgItem(m_hWnd, nID);
  if (!h) return nullptr;
  if (Window* w = Ws().Find(h); w && w->object) return dynamic_cast<CWnd*>(w->object);
  auto& slot = m_temporaries[h];
  if (!slot) {
    slot = std::make_unique<CWnd>();
    slot->m_hWnd = h;  // a handle wrapper only: the control keeps its own behaviour
  }
  return slot.get();
}

void CWnd::SetDlgItemText(int nID, const char* text) {
  Ws().SendMessage(Ws().GetDlgItem(m_hWnd, nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

CString CWnd::GetDlgItemText(int nID) const {
  const Window* w = Ws().Find(Ws().GetDlgItem(m_hWnd, nID));
  return w ? CString(w->text) : CString();
}

void CWnd::SetWindowText(const char* text) {
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

CString CWnd::GetWindowText() const {
  const Window* w = Ws().Find(m_hWnd);
  return w ? CString(w->text) : CString();
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
  const Window* w = Ws().Find(m_hWnd);
  BOOL wasDisabled = w && !w->enabled;
  Ws().Enable(m_hWnd, bEnable != FALSE);
  return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
  const Window* w = Ws().Find(m_hWnd);
  return w && w->enabled;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
  const Window* w = Ws().Find(m_hWnd);
  BOOL wasVisible = w && w->visible;
  Ws().Show(m_hWnd, nCmdShow);
  return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
  const Window* w = Ws().Find(m_hWnd);
  return w && w->visible;
}

BOOL CWnd::IsIconic() const {
  const Window* w = Ws().Find(m_hWnd);
  return w && w->minimized;
}

void CWnd::BringWindowToTop() { Ws().Raise(m_hWnd); }

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
  Ws().SendMessage(Ws().GetDlgItem(m_hWnd, nIDButton), BM_SETCHECK, nCheck, 0);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
  return static_cast<UINT>(Ws().SendMessage(Ws().GetDlgItem(m_hWnd, nIDButton), BM_GETCHECK, 0, 0));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return Ws().SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Ws().Find(m_hWnd)) return FALSE;
  Ws().PostMessage(m_hWnd, message, wParam, lParam);
  return TRUE;
}

CMenu* CWnd::GetSystemMenu(BOOL) {
  if (!m_sysMenu) m_sysMenu = std::make_unique<CMenu>(m_hWnd);
  return m_sysMenu.get();
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  HICON& slot = m_icons[bBigIcon ? 1 : 0];
  HICON old = slot;
  slot = hIcon;
  return old;
}
