// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the installer and the uninstaller find Quorblex Pro running and ask it to end, so that
// they can replace or remove its files.
//
// While it runs, the program holds a mutex named "QuorblexPro.Running" (in its session) and a
// hidden top-level window of the class of the same name. WM_CLOSE sent to that window is the
// request: the window answers with the program's process id, so that the caller can wait for
// the process itself, and the program then ends as Exit ends it: its icon leaves the
// notification area and it exits with status 0. Nothing is saved on the way out; Exit saves
// nothing either.
#include <functional>

class RunningInstance {
 public:
  static constexpr const wchar_t* kName = L"QuorblexPro.Running";

  // `beforeExit` takes away what the program shows outside its windows (the icon).
  explicit RunningInstance(std::function<void()> beforeExit);
  ~RunningInstance();
  RunningInstance(const RunningInstance&) = delete;
  RunningInstance& operator=(const RunningInstance&) = delete;

 private:
  void* mutex_ = nullptr;
  void* window_ = nullptr;
  std::function<void()> beforeExit_;
  friend struct RunningInstanceWindow;
};
