// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/TrayIcon.h"

#include <iterator>

#include "host/win32/ProgramIcon.h"
#include "host/win32/WideText.h"

void TrayIcon::RegisterClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

TrayIcon::TrayIcon(const std::string& tip, std::function<void(int message)> report,
                   SystemCalls& calls)
    : calls_(calls), tip_(Widen(tip)), report_(std::move(report)) {
  // A hidden top-level window rather than a message-only one: only top-level windows hear
  // that the task bar was made again.
  window_ = CreateWindowExW(0, kClassName, L"Quorblex Pro", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  // A program that runs with more rights than Explorer must let that message through.
  if (taskbarCreated_) ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
  added_ = Add();
  if (!added_) SetTimer(window_, kRetryTimer, kRetryMs, nullptr);
}

TrayIcon::~TrayIcon() {
  if (!window_) return;
  NOTIFYICONDATAW data = Data(0);
  if (added_) calls_.NotifyIcon(NIM_DELETE, data);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kId;
  data.uFlags = flags;
  data.uCallbackMessage = kCallback;
  data.hIcon = icon_.get();
  lstrcpynW(data.szTip, tip_.c_str(), static_cast<int>(std::size(data.szTip)));
  return data;
}

bool TrayIcon::Add() {
  icon_.reset(ProgramIcon::Load(true, GetDpiForSystem()));
  NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (calls_.NotifyIcon(NIM_ADD, data)) return true;
  // A busy task bar may time out and still add the icon.
  return calls_.NotifyIcon(NIM_MODIFY, data);
}

void TrayIcon::Retry() {
  if (!added_ && ++retries_ <= kRetries) added_ = Add();
  if (added_ || retries_ >= kRetries) KillTimer(window_, kRetryTimer);
}

bool TrayIcon::Expected() const { return window_ && !calls_.TaskbarPresent(); }

void TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
  if (!added_) return;
  NOTIFYICONDATAW data = Data(NIF_INFO);
  lstrcpynW(data.szInfoTitle, Widen(title).c_str(), static_cast<int>(std::size(data.szInfoTitle)));
  lstrcpynW(data.szInfo, Widen(text).c_str(), static_cast<int>(std::size(data.szInfo)));
  data.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON | NIIF_NOSOUND;
  balloonIcon_.reset(ProgramIcon::Load(false, GetDpiForSystem()));
  data.hBalloonIcon = balloonIcon_.get();
  calls_.NotifyIcon(NIM_MODIFY, data);
}

void TrayIcon::HideBalloon() {
  if (!added_) return;
  // An empty text takes the balloon away.
  NOTIFYICONDATAW data = Data(NIF_INFO);
  calls_.NotifyIcon(NIM_MODIFY, data);
}

int TrayIcon::MessageFor(LPARAM lParam) {
  switch (static_cast<UINT>(lParam)) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return static_cast<int>(lParam);
    default:
      return 0;
  }
}

LRESULT CALLBACK TrayIcon::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == kCallback && wParam == kId) {
    if (int mouse = MessageFor(lParam)) self->report_(mouse);
    return 0;
  }
  if (self && message == WM_TIMER && wParam == kRetryTimer) {
    self->Retry();
    return 0;
  }
  if (self && self->taskbarCreated_ && message == self->taskbarCreated_) {
    // Explorer started again without our icon; a task bar that kept it refuses the second.
    self->added_ = self->Add() || self->added_;
    if (self->added_) KillTimer(hwnd, kRetryTimer);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
