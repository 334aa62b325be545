// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/Desktop.h"

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

Desktop::Desktop(const Clock& clock, PictureLookup pictures)
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

Desktop::~Desktop() {
  tray_.reset();
  closing_.clear();
  // Newest first: an owned window goes before its owner.
  while (!windows_.empty()) windows_.pop_back();
  if (timer_) CloseHandle(timer_);
  if (comStarted_) CoUninitialize();
}

// ---- The loop -----------------------------------------------------------------------------

void Desktop::Wait(std::int64_t deadline, const std::function<void(const UserInput&)>& deliver) {
  FinishClosing();
  auto handOver = [&] {
    if (pending_.empty()) return false;
    while (!pending_.empty()) {
      UserInput input = pending_.front();
      pending_.pop_front();
      deliver(input);
    }
    return true;
  };
  if (handOver()) return;
  // Only collecting: the core asks before every message it handles. The queue was looked at
  // less than a millisecond ago, so looking again would find nothing worth the cost.
  if (deadline >= 0 && deadline <= clock_.Now() && clock_.Now() - lastLook_ < 1) return;
  for (;;) {
    Pump();
    const std::int64_t now = lastLook_ = clock_.Now();
    const std::int64_t frame = Animate(now);
    if (handOver()) return;
    if (deadline >= 0 && now >= deadline) return;
    std::int64_t wake = deadline;
    if (frame >= 0 && (wake < 0 || frame < wake)) wake = frame;
    Sleep(wake < 0 ? -1 : std::max<std::int64_t>(wake - now, 1));
  }
}

void Desktop::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;  // only the program ends the program
    DialogWindow* window = RootOf(msg.hwnd);
    if (!window || !window->PreTranslate(msg)) DispatchMessageW(&msg);
    // Input goes to the program before anything else in the queue.
    if (!pending_.empty()) return;
  }
}

void Desktop::Sleep(std::int64_t ms) {
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

std::int64_t Desktop::Animate(std::int64_t now) {
  std::int64_t next = -1;
  for (auto& w : windows_) {
    std::int64_t due = w->Animate(now);
    if (due >= 0 && (next < 0 || due < next)) next = due;
  }
  return next;
}

// ---- Windows ------------------------------------------------------------------------------

DialogWindow* Desktop::Find(std::uint32_t dialog) const {
  for (auto& w : windows_)
    if (w->handle() == dialog) return w.get();
  return nullptr;
}

DialogWindow* Desktop::RootOf(void* hwnd) const {
  if (!hwnd) return nullptr;
  HWND root = GetAncestor(static_cast<HWND>(hwnd), GA_ROOT);
  for (auto& w : windows_)
    if (w->hwnd() == root) return w.get();
  return nullptr;
}

void Desktop::Create(const DialogModel& dialog) {
  DialogWindow* owner = Find(dialog.owner);
  DialogWindow::Services services;
  services.report = [this](UserInput input) { pending_.push_back(std::move(input)); };
  services.pictures = pictures_.get();
  services.clock = &clock_;
  windows_.push_back(
      std::make_unique<DialogWindow>(dialog, owner ? owner->hwnd() : nullptr, services));
}

void Desktop::Destroy(std::uint32_t dialog) {
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const auto& w) { return w->handle() == dialog; });
  if (it == windows_.end()) return;
  (*it)->Silence();
  closing_.push_back(std::move(*it));
  windows_.erase(it);
}

void Desktop::ModalEnded() { FinishClosing(); }

void Desktop::FinishClosing() {
  while (!closing_.empty()) closing_.pop_back();
}

void Desktop::Shown(const DialogModel& dialog, bool initial) {
  DialogWindow* w = Find(dialog.handle);
  if (!w) return;
  w->Shown(dialog, initial);
  if (initial) dump_->Write(*w);
}

void Desktop::Enabled(std::uint32_t dialog, bool enabled) {
  if (DialogWindow* w = Find(dialog)) w->EnabledChanged(enabled);
}

void Desktop::Raised(std::uint32_t dialog) {
  if (DialogWindow* w = Find(dialog)) w->Raise();
}

void Desktop::FocusChanged(std::uint32_t dialog, std::uint32_t focus, std::uint32_t defaultLook) {
  if (DialogWindow* w = Find(dialog)) w->FocusChanged(focus, defaultLook);
}

void Desktop::MenuChanged(std::uint32_t dialog, const std::vector<MenuEntry>& menu,
                          bool closeBoxEnabled) {
  if (DialogWindow* w = Find(dialog)) w->MenuChanged(menu, closeBoxEnabled);
}

void Desktop::ControlChanged(std::uint32_t dialog, const ControlModel& control, ViewChange what) {
  if (DialogWindow* w = Find(dialog)) w->ControlChanged(control, what);
}

// ---- Notification icon and help -------------------------------------------------------------

bool Desktop::TrayAdd(const std::string& tip) {
  tray_ = std::make_unique<TrayIcon>(tip, [this](int message) {
    UserInput input;
    input.kind = UserInput::Kind::Tray;
    input.id = message;
    pending_.push_back(input);
  });
  if (tray_->Added()) return true;
  tray_.reset();
  return false;
}

void Desktop::TrayDelete() { tray_.reset(); }

void Desktop::ShowHelp(const std::string& path) {
  if (path.empty()) return;  // the program says so itself
  HelpViewer::Open(path);
}
