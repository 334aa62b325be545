// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host of the simulator and the tests: virtual time, scripted input, a transcript. It is
// also the run's observer: the transcript records timer calls, draws, profile writes and
// ignored input too.
//
// Script time runs on its own. "wait MS" moves the script's clock; the program runs up to and
// including that moment before the next command is read. Input is queued at the script's time
// even while the program is busy in a synchronous cue, and handled once it is idle.
#include <cstdint>
#include <map>
#include <vector>

#include "common/Host.h"
#include "common/Observer.h"
#include "host/headless/Script.h"
#include "host/headless/Transcript.h"
#include "host/headless/VirtualClock.h"

// Thrown out of Wait when the script has ended and the program is idle.
struct ScriptEnded {};

class HeadlessHost : public Host, public Observer {
 public:
  HeadlessHost(VirtualClock& clock, Transcript& transcript, std::vector<ScriptCommand> script,
               bool hasTray);

  void Wait(std::int64_t deadline, InputSink& sink) override;
  // A "wake" line each time Wait returns from waiting: from moving the clock or queuing
  // input, not from only collecting it.
  void TraceWakes(bool on) { traceWakes_ = on; }
  void WindowCreated(const DialogModel& dialog) override;
  void WindowDestroyed(ViewHandle dialog) override { dialogs_.erase(dialog); }
  void WindowShown(const DialogModel& dialog, bool initial) override;
  void WindowEnabled(ViewHandle, bool) override {}
  void WindowRaised(ViewHandle) override {}
  void FocusChanged(ViewHandle, ViewHandle, ViewHandle) override {}
  void MenuChanged(ViewHandle, const std::vector<MenuItem>&, bool) override {}
  void ControlChanged(ViewHandle dialog, const ControlModel& control, Change what) override;
  void ModalEnded(int templateId, int result) override;
  bool TrayAdd(const std::string& tip) override;
  void TrayDelete() override;
  void ShowHelp(const std::string& name, const std::string& path) override;
  void TimerCall(int templateId, unsigned id, int periodMs) override;
  void RandomDraw(int n, int result) override;
  void ProfileWrite(const std::string& section, const std::string& key, int value) override;
  void InputIgnored(const InputEvent& event) override;

 private:
  bool Step(InputSink& sink);
  bool PollBefore(std::int64_t now, InputSink& sink);
  bool Sleep(std::int64_t deadline, InputSink& sink);

  VirtualClock& clock_;
  Transcript& out_;
  std::vector<ScriptCommand> script_;
  size_t next_ = 0;
  std::int64_t scriptTime_ = 0;
  bool hasTray_;
  bool traceWakes_ = false;
  std::map<ViewHandle, int> dialogs_;  // each open dialog's template
};
