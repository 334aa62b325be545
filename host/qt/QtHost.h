// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop host: the core's windows as Qt widgets, its notification icon as a
// QSystemTrayIcon, and Qt's event queue as the source of input.
//
// The core's loop stays the only loop. Qt runs inside Wait, which processes Qt's events
// until input has been reported or the deadline has come, and once more when a new window
// first shows, so that it reaches the screen before the program goes on. Input made at any
// moment other than Wait (a handler that runs while a notification paints, say) waits in the
// host's own queue and is handed over at the start of the next Wait. No Qt timer drives the
// program.
//
// Needs a QApplication that outlives it; made after it and destroyed before it.
#include <QTimer>
#include <deque>
#include <map>
#include <memory>

#include "common/Clock.h"
#include "common/Host.h"
#include "host/qt/GeometryDump.h"
#include "host/shared/InputQueue.h"

class DialogWindow;
class HelpViewer;
class TrayIcon;

class QtHost : public Host {
 public:
  explicit QtHost(const Clock& clock);
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // Blocks in Qt's event processing until input was reported or `deadline` passed.
  void Wait(std::int64_t deadline, InputSink& sink) override;
  void WindowCreated(const DialogModel& dialog) override;
  void WindowDestroyed(ViewHandle dialog) override;
  void WindowShown(const DialogModel& dialog, bool initial) override;
  void WindowEnabled(ViewHandle dialog, bool enabled) override;
  void WindowRaised(ViewHandle dialog) override;
  void FocusChanged(ViewHandle dialog, ViewHandle focus, ViewHandle defaultLook) override;
  void MenuChanged(ViewHandle dialog, const std::vector<MenuItem>& menu,
                   bool closeBoxEnabled) override;
  void ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) override;
  void ModalEnded(int, int) override {}
  bool TrayAdd(const std::string& tip) override;
  void TrayDelete() override;
  void ShowHelp(const std::string& name, const std::string& path) override;

  // What the desktop shows, for tests.
  DialogWindow* FindWindow(ViewHandle dialog) const;
  TrayIcon* Tray() const { return tray_.get(); }
  HelpViewer* Help() const { return help_.get(); }
  // Input reported by the widgets and not yet handed to the core.
  const std::deque<InputEvent>& PendingInput() const { return input_.Pending(); }

 private:
  void Report(InputEvent event);
  static constexpr std::int64_t kLongWaitMs = 1000;
  void WakeIn(std::int64_t ms);  // -1: no wake-up
  void ActivateModal();

  const Clock& clock_;
  std::map<ViewHandle, DialogWindow*> windows_;  // each owned window is a Qt child of its owner
  InputQueue input_;
  QTimer wake_;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<HelpViewer> help_;
  GeometryDump dump_;
};
