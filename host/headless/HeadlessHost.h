// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host of the simulator and the tests: virtual time, scripted input, a transcript.
//
// Script time runs on its own. "wait MS" moves the script's clock; the program runs up to and
// including that moment before the next command is read. Input is queued at the script's time
// even while the program is busy in a synchronous cue, and handled once it is idle.
#include <cstdint>
#include <vector>

#include "common/Host.h"
#include "host/headless/Script.h"
#include "host/headless/Transcript.h"
#include "host/headless/VirtualClock.h"

// Thrown out of Wait when the script has ended and the program is idle.
struct ScriptEnded {};

class HeadlessHost : public Host {
 public:
  HeadlessHost(VirtualClock& clock, Transcript& transcript, std::vector<ScriptCommand> script,
               bool hasTray);

  void Wait(std::int64_t deadline, InputSink& sink) override;
  // A "wake" line each time Wait returns from waiting: from moving the clock or queuing
  // input, not from only collecting it.
  void TraceWakes(bool on) { traceWakes_ = on; }
  void WindowCreated(const Window& dialog) override;
  void WindowDestroyed(const Window&) override {}
  void WindowShown(const Window& dialog, bool initial) override;
  void WindowEnabled(const Window&) override {}
  void WindowRaised(const Window&) override {}
  void FocusChanged(const Window&) override {}
  void MenuChanged(const Window&) override {}
  void ControlChanged(const Window& dialog, const Window& control, Change what) override;
  void ModalEnded(int templateId, int result) override;
  bool TrayAdd(const std::string& tip) override;
  void TrayDelete() override;
  void ShowHelp(const std::string& name, const std::string& path) override;
  void TimerCall(const Window& dialog, UINT id, int periodMs) override;
  void RandomDraw(int n, int result) override;
  void ProfileWrite(const std::string& section, const std::string& key, int value) override;
  void InputIgnored(const InputEvent& event) override;

 private:
  bool Step(InputSink& sink);
  bool PollBefore(std::int64_t now, InputSink& sink);
  bool Sleep(std::int64_t deadline, InputSink& sink);
  static std::string Win(const Window& dialog);

  VirtualClock& clock_;
  Transcript& out_;
  std::vector<ScriptCommand> script_;
  size_t next_ = 0;
  std::int64_t scriptTime_ = 0;
  bool hasTray_;
  bool traceWakes_ = false;
};
