// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/Win32Host.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// clang-format on

#include <algorithm>

#include "host/win32/BitmapCache.h"
#include "host/win32/ClipView.h"
#include "host/win32/DialogWindow.h"
#include "host/win32/GeometryDump.h"
#include "host/win32/HelpViewer.h"
#include "host/win32/TrayIcon.h"

namespace {
// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION (Windows 10, 1803), which mingw-w64's headers lack.
constexpr DWORD kHighResolutionTimer = 0x00000002;
}  // namespace

Win32Host::Win32Host(const Clock& clock, PictureLookup pictures)
    : clock_(clock),
      pictures_(std::make_unique<BitmapCache>(std::move(pictures))),
      dump_(std::make_unique<GeometryDump>()) {
  // The shell's ways of opening a page may be COM objects.
  comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  DialogWindow::RegisterClass(instance);
  ClipView::RegisterClass(instance);
  TrayIcon::RegisterClass(instance);
  // Woken to the millisecond where Windows offers it; a plain timer follows the system tick.
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
  if (!timer_) timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
}

Win32Host::~Win32Host() {
  tray_.reset();
  closing_.clear();
  // Newest first: an owned window goes before its owner.
  while (!windows_.empty()) windows_.pop_back();
  if (timer_) CloseHandle(timer_);
  if (comStarted_) CoUninitialize();
}

// ---- The loop -----------------------------------------------------------------------------

void Win32Host::Wait(std::int64_t deadline, InputSink& sink) {
  FinishClosing();
  if (input_.HandOver(sink)) return;
  // Only collecting.
  if (deadline >= 0 && deadline <= clock_.Now() && !input_.ShouldLook(clock_.Now())) return;
  for (;;) {
    Pump();
    const std::int64_t now = clock_.Now();
    input_.Looked(now);
    const std::int64_t frame = Animate(now);
    if (input_.HandOver(sink)) return;
    if (deadline >= 0 && now >= deadline) return;
    std::int64_t wake = deadline;
    if (frame >= 0 && (wake < 0 || frame < wake)) wake = frame;
    Sleep(wake < 0 ? -1 : std::max<std::int64_t>(wake - now, 1));
  }
}

void Win32Host::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;  // only the program ends the program
    DialogWindow* window = RootOf(msg.hwnd);
    if (!window || !window->PreTranslate(msg)) DispatchMessageW(&msg);
    // Input goes to the program before anything else in the queue.
    if (!input_.Empty()) return;
  }
}

void Win32Host::Sleep(std::int64_t ms) {
  if (ms < 0 || !timer_) {
    DWORD timeout = ms < 0 ? INFINITE : static_cast<DWORD>(std::min<std::int64_t>(ms, 1 << 30));
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return;
  }
  LARGE_INTEGER due;
  due.QuadPart = -std::min<std::int64_t>(ms, 1 << 30) * 10000;  // relative, in 100 ns
  SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
  HANDLE handles[] = {timer_};
  MsgWaitForMultipleObjectsEx(1, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::int64_t Win32Host::Animate(std::int64_t now) {
  std::int64_t next = -1;
  for (auto& w : windows_) {
    std::int64_t due = w->Animate(now);
    if (due >= 0 && (next < 0 || due < next)) next = due;
  }
  return next;
}

// ---- Windows ------------------------------------------------------------------------------

DialogWindow* Win32Host::Find(ViewHandle dialog) const {
  for (auto& w : windows_)
    if (w->handle() == dialog) return w.get();
  return nullptr;
}

DialogWindow* Win32Host::RootOf(void* hwnd) const {
  if (!hwnd) return nullptr;
  HWND root = GetAncestor(static_cast<HWND>(hwnd), GA_ROOT);
  for (auto& w : windows_)
    if (w->hwnd() == root) return w.get();
  return nullptr;
}

void Win32Host::WindowCreated(const DialogModel& dialog) {
  DialogWindow* owner = Find(dialog.owner);
  DialogWindow::Services services;
  services.report = [this](InputEvent input) { input_.Report(std::move(input)); };
  services.pictures = pictures_.get();
  services.clock = &clock_;
  windows_.push_back(
      std::make_unique<DialogWindow>(dialog, owner ? owner->hwnd() : nullptr, services));
}

void Win32Host::WindowDestroyed(ViewHandle dialog) {
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const auto& w) { return w->handle() == dialog; });
  if (it == windows_.end()) return;
  (*it)->Silence();
  closing_.push_back(std::move(*it));
  windows_.erase(it);
}

void Win32Host::ModalEnded(int, int) { FinishClosing(); }

void Win32Host::FinishClosing() {
  while (!closing_.empty()) closing_.pop_back();
}

void Win32Host::WindowShown(const DialogModel& dialog, bool initial) {
  DialogWindow* w = Find(dialog.handle);
  if (!w) return;
  w->Shown(dialog, initial);
  if (initial) dump_->Write(*w);
}

void Win32Host::WindowEnabled(ViewHandle dialog, bool enabled) {
  if (DialogWindow* w = Find(dialog)) w->EnabledChanged(enabled);
}

void Win32Host::WindowRaised(ViewHandle dialog) {
  if (DialogWindow* w = Find(dialog)) w->Raise();
}

void Win32Host::FocusChanged(ViewHandle dialog, ViewHandle focus, ViewHandle defaultLook) {
  if (DialogWindow* w = Find(dialog)) w->FocusChanged(focus, defaultLook);
}

void Win32Host::MenuChanged(ViewHandle dialog, const std::vector<MenuItem>& menu,
                          bool closeBoxEnabled) {
  if (DialogWindow* w = Find(dialog)) w->MenuChanged(menu, closeBoxEnabled);
}

void Win32Host::ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) {
  if (DialogWindow* w = Find(dialog)) w->ControlChanged(control, what);
}

// ---- Notification icon and help -------------------------------------------------------------

bool Win32Host::TrayAdd(const std::string& tip) {
  tray_ = std::make_unique<TrayIcon>(tip, [this](int message) {
    InputEvent input;
    input.kind = InputEvent::Kind::Tray;
    input.id = message;
    input_.Report(std::move(input));
  });
  if (tray_->Added()) return true;
  tray_.reset();
  return false;
}

void Win32Host::TrayDelete() { tray_.reset(); }

void Win32Host::ShowHelp(const std::string&, const std::string& path) {
  if (path.empty()) return;  // the program says so itself
  HelpViewer::Open(path);
}
