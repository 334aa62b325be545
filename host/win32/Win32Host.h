// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows host: the core's windows as USER32 windows and controls, its notification icon
// through Shell_NotifyIconW, its help page in the browser, and Windows' message queue as the
// source of input.
//
// This is the half that reads the core: it turns the core's window records into the plain
// models of DialogModel.h and hands them to the Desktop, which alone talks to Windows, and
// turns what the Desktop reports back into the core's input. (The core's own HWND, MSG and WM_
// names and those of <windows.h> cannot meet in one source file.)
//
// Blocking: only Wait blocks, in Windows' message processing, until input or the deadline.
// Every other call returns with its change painted.
#include <memory>

#include "common/Clock.h"
#include "common/Host.h"

class Desktop;

class Win32Host : public Host {
 public:
  explicit Win32Host(const Clock& clock);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  void Wait(std::int64_t deadline, InputSink& sink) override;
  void WindowCreated(const Window& dialog) override;
  void WindowDestroyed(const Window& dialog) override;
  void WindowShown(const Window& dialog, bool initial) override;
  void WindowEnabled(const Window& dialog) override;
  void WindowRaised(const Window& dialog) override;
  void FocusChanged(const Window& dialog) override;
  void MenuChanged(const Window& dialog) override;
  void ControlChanged(const Window& dialog, const Window& control, Change what) override;
  void ModalEnded(int templateId, int result) override;
  bool TrayAdd(const std::string& tip) override;
  void TrayDelete() override;
  void ShowHelp(const std::string& name, const std::string& path) override;
  void TimerCall(const Window&, UINT, int) override {}
  void RandomDraw(int, int) override {}
  void ProfileWrite(const std::string&, const std::string&, int) override {}
  void InputIgnored(const InputEvent&) override {}

 private:
  std::unique_ptr<Desktop> desktop_;
};
