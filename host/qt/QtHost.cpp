// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/qt/QtHost.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>

#include "host/qt/DialogWindow.h"
#include "host/qt/HelpViewer.h"
#include "host/qt/TrayIcon.h"

QtHost::QtHost(const Clock& clock) : clock_(clock) { wake_.setTimerType(Qt::PreciseTimer); }

QtHost::~QtHost() {
  tray_.reset();
  help_.reset();
  // Newest first: an owned window goes before its owner, whose Qt child it is.
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) delete it->second;
}

// ---- The loop -----------------------------------------------------------------------------

void QtHost::Report(InputEvent event) { input_.Report(std::move(event)); }

void QtHost::Wait(std::int64_t deadline, InputSink& sink) {
  if (input_.HandOver(sink)) return;
  std::int64_t now = clock_.Now();
  if (deadline >= 0 && deadline <= now) {
    // Only collecting.
    if (!input_.ShouldLook(now)) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    input_.Looked(clock_.Now());
    input_.HandOver(sink);
    return;
  }
  for (;;) {
    WakeIn(deadline < 0 ? -1 : deadline - now);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    now = clock_.Now();
    input_.Looked(now);
    if (input_.HandOver(sink)) break;
    if (deadline >= 0 && now >= deadline) break;
  }
}

// The wake-up timer repeats, so that a program waiting on a steady beat (the lamps' 25 ms)
// finds it already set for the next beat: it is set again only when it would not fall due
// then, and stopped when only input is awaited. Both clocks count whole milliseconds from
// different starting points, so a timer one off either way is the same beat; should it come
// a little early after all, the loop above waits on.
//
// Linux lets a long poll end late by up to a thousandth of its length (at most 100 ms), to
// gather wake-ups: the minute the core sleeps while every window is hidden would end some
// 60 ms late. A wait of over a second therefore aims that much early, and the loop above waits
// out the rest, which comes within a fraction of a millisecond: one more wake-up a minute, and
// the deadline kept.
void QtHost::WakeIn(std::int64_t ms) {
  if (ms < 0) {
    wake_.stop();
    return;
  }
  if (ms > kLongWaitMs) ms -= std::min<std::int64_t>(ms / 1000, 100) + 1;
  const int want = static_cast<int>(std::min<std::int64_t>(ms, 1 << 30));
  const int left = wake_.isActive() ? wake_.remainingTime() : -2;
  if (left >= want - 1 && left <= want + 1 && left >= 0) return;
  wake_.start(want);
}

// ---- Windows ------------------------------------------------------------------------------

DialogWindow* QtHost::FindWindow(ViewHandle dialog) const {
  auto it = windows_.find(dialog);
  return it == windows_.end() ? nullptr : it->second;
}

void QtHost::WindowCreated(const DialogModel& dialog) {
  auto* w = new DialogWindow(
      dialog, FindWindow(dialog.owner), [this](InputEvent e) { Report(std::move(e)); },
      [this] { ActivateModal(); });
  windows_[dialog.handle] = w;
}

void QtHost::WindowDestroyed(ViewHandle dialog) {
  DialogWindow* w = FindWindow(dialog);
  windows_.erase(dialog);
  if (!w) return;
  bool wasActive = w->isActiveWindow();
  DialogWindow* owner = w->Owner();
  delete w;
  // As on the platform the program was written for, the owner of a closing dialog becomes
  // the active window again.
  if (wasActive && owner && owner->isVisible() && !owner->isMinimized()) owner->activateWindow();
}

// The newest window that takes input is the innermost modal one.
void QtHost::ActivateModal() {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    DialogWindow* w = it->second;
    if (w->isVisible() && !w->InputBlocked()) {
      w->Raise();
      return;
    }
  }
}

void QtHost::WindowShown(const DialogModel& dialog, bool initial) {
  DialogWindow* w = FindWindow(dialog.handle);
  if (!w) return;
  w->Shown(dialog, initial);
  if (initial) dump_.Write(*w);
  // A new window goes to the screen now rather than at the next Wait: the program carries on
  // with its start-up first (the notification icon, the welcome cue), and the window need not
  // wait for that. Input that comes meanwhile waits for the next Wait like any other.
  if (initial && dialog.visible)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtHost::WindowEnabled(ViewHandle dialog, bool enabled) {
  if (DialogWindow* w = FindWindow(dialog)) w->EnabledChanged(enabled);
}

void QtHost::WindowRaised(ViewHandle dialog) {
  if (DialogWindow* w = FindWindow(dialog)) w->Raise();
}

void QtHost::FocusChanged(ViewHandle dialog, ViewHandle focus, ViewHandle defaultLook) {
  if (DialogWindow* w = FindWindow(dialog)) w->FocusChanged(focus, defaultLook);
}

void QtHost::MenuChanged(ViewHandle dialog, const std::vector<MenuItem>& menu,
                         bool closeBoxEnabled) {
  if (DialogWindow* w = FindWindow(dialog)) w->MenuChanged(menu, closeBoxEnabled);
}

void QtHost::ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) {
  if (DialogWindow* w = FindWindow(dialog)) w->ControlChanged(control, what);
}

// ---- Notification icon and help -------------------------------------------------------------

bool QtHost::TrayAdd(const std::string& tip) {
  if (!TrayIcon::Available()) return false;
  tray_ = std::make_unique<TrayIcon>(tip, [this](int message) {
    InputEvent e;
    e.kind = InputEvent::Kind::Tray;
    e.id = message;
    Report(std::move(e));
  });
  return true;
}

void QtHost::TrayDelete() {
  if (!tray_) return;
  tray_->icon().hide();
  tray_.reset();
}

void QtHost::ShowHelp(const std::string&, const std::string& path) {
  if (path.empty()) return;  // the program says so itself
  if (!help_) help_ = std::make_unique<HelpViewer>();
  help_->Open(path);
}
