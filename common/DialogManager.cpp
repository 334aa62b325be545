// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/DialogManager.h"

#include <algorithm>
#include <cctype>

namespace {
// The mnemonic of a text: the letter after a single '&', upper-cased; 0 when none.
char MnemonicOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}
}  // namespace

bool IsDialogMessage(WindowSystem& ws, HWND dialog, const MSG& msg) {
  Window* d = ws.Find(dialog);
  if (!d) return false;
  return DialogManager(ws, *d).HandleKey(msg);
}

bool DialogManager::HandleKey(const MSG& msg) {
  if (msg.message == WM_SYSKEYDOWN || msg.message == WM_CHAR)
    return Mnemonic(static_cast<char>(msg.wParam));
  if (msg.message != WM_KEYDOWN) return false;
  Window* focus = ws_.Find(dialog_.focus);
  if (focus && !Usable(focus)) focus = nullptr;
  switch (msg.wParam) {
    case VK_RETURN:
      if (focus && focus->kind == ControlKind::PushButton)
        ws_.PressButton(*focus);
      else
        PressDefault();
      return true;
    case VK_ESCAPE:
      ws_.SendClicked(dialog_.hwnd, IDCANCEL, ws_.GetDlgItem(dialog_.hwnd, IDCANCEL));
      return true;
    case VK_TAB:
      MoveFocus(msg.lParam & kShiftHeld);
      return true;
    case VK_SPACE:
      if (focus && (focus->kind == ControlKind::PushButton || focus->kind == ControlKind::CheckBox))
        ws_.PressButton(*focus);
      return true;
    default:
      if (focus && focus->kind == ControlKind::Trackbar) return Trackbar(*focus, msg.wParam);
      return true;
  }
}

void DialogManager::PressDefault() {
  HWND h = ws_.GetDlgItem(dialog_.hwnd, dialog_.defId);
  const Window* def = ws_.Find(h);
  if (def) {
    if (Usable(def)) ws_.PressButton(*def);
    return;
  }
  // A dialog without a default button hears Enter as OK.
  ws_.SendClicked(dialog_.hwnd, IDOK, kNoWindow);
}

void DialogManager::MoveFocus(bool backwards) {
  std::vector<HWND> stops;
  for (HWND h : dialog_.children) {
    const Window* c = ws_.Find(h);
    if (Usable(c) && (c->style & WS_TABSTOP)) stops.push_back(h);
  }
  if (stops.empty()) return;
  auto it = std::find(stops.begin(), stops.end(), dialog_.focus);
  size_t n = stops.size();
  size_t i;
  if (it == stops.end())
    i = backwards ? n - 1 : 0;
  else
    i = (static_cast<size_t>(it - stops.begin()) + (backwards ? n - 1 : 1)) % n;
  ws_.SetFocus(stops[i]);
}

bool DialogManager::Mnemonic(char letter) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  const auto& kids = dialog_.children;
  size_t n = kids.size();
  size_t start = 0;
  auto at = std::find(kids.begin(), kids.end(), dialog_.focus);
  if (at != kids.end()) start = static_cast<size_t>(at - kids.begin()) + 1;
  for (size_t k = 0; k < n; ++k) {
    Window* c = ws_.Find(kids[(start + k) % n]);
    if (!c || c->kind == ControlKind::Picture || (c->style & SS_NOPREFIX && c->kind == ControlKind::Text))
      continue;
    if (MnemonicOf(c->text) != letter) continue;
    if (!Usable(c)) return true;
    if (c->kind == ControlKind::PushButton) {
      ws_.PressButton(*c);
    } else if (c->kind == ControlKind::CheckBox) {
      ws_.SetFocus(c->hwnd);
      ws_.PressButton(*c);
    } else if (c->kind == ControlKind::Text) {
      // A label hands the focus to the control after it.
      auto self = std::find(kids.begin(), kids.end(), c->hwnd);
      if (self != kids.end() && self + 1 != kids.end()) ws_.SetFocus(*(self + 1));
    }
    return true;
  }
  return false;
}

bool DialogManager::Trackbar(Window& bar, WPARAM vk) {
  int page = std::max(1, (bar.trackMax - bar.trackMin) / 5);
  int pos = bar.trackPos;
  switch (vk) {
    case VK_LEFT:
    case VK_UP: pos -= 1; break;
    case VK_RIGHT:
    case VK_DOWN: pos += 1; break;
    case VK_PRIOR: pos -= page; break;
    case VK_NEXT: pos += page; break;
    case VK_HOME: pos = bar.trackMin; break;
    case VK_END: pos = bar.trackMax; break;
    default: return false;
  }
  ws_.SetTrackPos(bar.hwnd, pos);
  ws_.SendMessage(dialog_.hwnd, WM_HSCROLL, 0, static_cast<LPARAM>(bar.hwnd));
  return true;
}
