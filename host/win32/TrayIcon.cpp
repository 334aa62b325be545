// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/TrayIcon.h"

#include <shellapi.h>

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

TrayIcon::TrayIcon(const std::string& tip, std::function<void(int message)> report)
    : tip_(Widen(tip)), report_(std::move(report)) {
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
}

TrayIcon::~TrayIcon() {
  if (!window_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kId;
  if (added_) Shell_NotifyIconW(NIM_DELETE, &data);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

bool TrayIcon::Add() {
  icon_.reset(ProgramIcon::Load(true, GetDpiForSystem()));
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallback;
  data.hIcon = icon_.get();
  lstrcpynW(data.szTip, tip_.c_str(), static_cast<int>(std::size(data.szTip)));
  return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
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
  if (self && self->taskbarCreated_ && message == self->taskbarCreated_) {
    // Explorer started again without our icon; a task bar that kept it refuses the second.
    self->added_ = self->Add() || self->added_;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
