// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/RunningInstance.h"

#include <windows.h>

struct RunningInstanceWindow {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLOSE) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* self = reinterpret_cast<RunningInstance*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // The caller learns which process to wait for before this one goes.
    if (InSendMessage()) ReplyMessage(static_cast<LRESULT>(GetCurrentProcessId()));
    if (self && self->beforeExit_) self->beforeExit_();
    ExitProcess(0);
  }
};

RunningInstance::RunningInstance(std::function<void()> beforeExit)
    : beforeExit_(std::move(beforeExit)) {
  mutex_ = CreateMutexW(nullptr, FALSE, kName);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = RunningInstanceWindow::Proc;
  wc.hInstance = instance;
  wc.lpszClassName = kName;
  RegisterClassExW(&wc);
  // Top-level, since FindWindow does not see message-only windows; never shown.
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  window_ = window;
}

RunningInstance::~RunningInstance() {
  if (window_) DestroyWindow(static_cast<HWND>(window_));
  if (mutex_) CloseHandle(mutex_);
}
