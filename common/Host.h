// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The narrow boundary between the core and a host (a desktop, the browser or the headless
// simulator): what a desktop must do, and nothing else. The core decides everything; the host
// shows the core's state, told in the plain values of View.h, and reports raw input. What only
// the simulator records goes to an Observer instead.
//
// Every notification returns at once, with the change visible: a desktop host paints before
// returning, so a text is on screen while a synchronous cue plays. Only Wait blocks.
#include <cstdint>
#include <string>
#include <vector>

#include "common/View.h"

class InputSink {
 public:
  virtual ~InputSink() = default;
  virtual void Push(InputEvent event) = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // Blocks until input has been pushed to `sink` or the clock has reached `deadline`
  // (milliseconds; -1 waits for input alone). With a deadline at or before now it only
  // collects input that is already there and returns.
  // While every window is hidden the deadline may lie a minute ahead: the core sleeps through
  // the timer ticks nobody can see and makes them up on waking. Wait returns before the
  // deadline for input only, and nothing of the host (a timer, a thread of its own) wakes the
  // process on a beat meanwhile.
  // A host may end the program run here by throwing: the headless host throws ScriptEnded
  // when its script is done, and the exception leaves through the modal loops, whose windows
  // are destroyed on the way out. The core lets it pass.
  virtual void Wait(std::int64_t deadline, InputSink& sink) = 0;

  // A dialog and all its controls exist; not yet shown.
  virtual void WindowCreated(const DialogModel& dialog) = 0;
  // The dialog is about to go; its controls go with it.
  virtual void WindowDestroyed(ViewHandle dialog) = 0;
  // Shown, hidden, minimized or restored (dialog.visible, dialog.minimized). `initial` marks
  // the first show of a new window.
  virtual void WindowShown(const DialogModel& dialog, bool initial) = 0;
  // Enabled or disabled as the owner of a modal dialog; never greyed on screen.
  virtual void WindowEnabled(ViewHandle dialog, bool enabled) = 0;
  virtual void WindowRaised(ViewHandle dialog) = 0;
  // The focus or the button drawn as default moved.
  virtual void FocusChanged(ViewHandle dialog, ViewHandle focus, ViewHandle defaultLook) = 0;
  virtual void MenuChanged(ViewHandle dialog, const std::vector<MenuItem>& menu,
                           bool closeBoxEnabled) = 0;
  // `control` is the dialog itself when its caption changed.
  virtual void ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) = 0;
  // A modal window has ended; `templateId` is -1 for a message box.
  virtual void ModalEnded(int templateId, int result) = 0;

  // The notification icon. Add returns false when the desktop has no notification area.
  virtual bool TrayAdd(const std::string& tip) = 0;
  virtual void TrayDelete() = 0;

  // The help viewer shows the contents of the page at `path`.
  virtual void ShowHelp(const std::string& name, const std::string& path) = 0;
};
