// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Raw input as a host reports it: the core decides what it means.
#include <string>

#include "common/WinTypes.h"

enum class Key {
  Enter,
  Escape,
  Space,
  Tab,
  ShiftTab,
  Left,
  Right,
  Up,
  Down,
  Home,
  End,
  PageUp,
  PageDown,
  Letter,  // with `letter` set; `alt` tells whether Alt was held
};

struct InputEvent {
  enum class Kind { Click, Key, Close, SysCommand, Tray, Slide, Taskbar };
  Kind kind = Kind::Click;
  HWND target = kNoWindow;  // the window the input was made in; none: the active window
  int id = 0;               // control id, menu command or tray mouse message
  int pos = 0;              // trackbar position
  Key key = Key::Enter;
  char letter = 0;
  bool alt = false;
  std::string origin;  // how the host describes it (the simulator's script command)
};
