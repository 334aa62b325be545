// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What happens in a run that no user sees: the simulator's transcript records it, a desktop
// does not listen. Each call returns at once.
#include <string>

#include "common/View.h"

class Observer {
 public:
  virtual ~Observer() = default;
  // SetTimer (periodMs) or KillTimer (periodMs -1) on a window made from template `templateId`.
  virtual void TimerCall(int templateId, unsigned id, int periodMs) = 0;
  // A random draw with bound n gave `result`.
  virtual void RandomDraw(int n, int result) = 0;
  virtual void ProfileWrite(const std::string& section, const std::string& key, int value) = 0;
  // Input the program dropped: a disabled or hidden window or control, an id that is not there.
  virtual void InputIgnored(const InputEvent& event) = 0;
};
