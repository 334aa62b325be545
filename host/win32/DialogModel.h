// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the Windows side of the host is told about the core's windows, and what it reports
// back, in plain values.
//
// The core speaks a vocabulary of its own that borrows the platform's names (HWND, MSG,
// WM_COMMAND, TRUE), and <windows.h> defines the same names differently, so no source file can
// see both. The host is therefore cut in two: Win32Host reads the core's window records and
// turns them into these models, and everything that talks to Windows reads only the models.
// Handles are the core's window numbers; styles keep their platform values, which the core's
// templates share with Windows.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AviClip;

enum class ViewKind {
  PushButton,
  CheckBox,
  GroupBox,
  Text,
  Picture,
  BlackRect,
  BlackFrame,
  Trackbar,
  Animation,
  Icon,
};

// What changed on a control (the core's Change, one for one).
enum class ViewChange {
  Text,
  Picture,
  Enabled,
  Visible,
  Checked,
  Trackbar,
  Tooltip,
  ClipOpen,
  ClipPlay,
  ClipClose
};

struct DuRect {
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
};

// One drawing of a picture: BMP file bytes made for a screen of `ratio` device pixels per
// logical pixel.
struct Drawing {
  double ratio = 1;
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

struct ControlModel {
  std::uint32_t handle = 0;
  ViewKind kind = ViewKind::Text;
  int id = 0;
  DuRect rect;
  std::uint32_t style = 0, exStyle = 0;
  std::string text;
  bool enabled = true, visible = true;
  int checked = 0;
  int trackMin = 0, trackMax = 100, trackPos = 0;
  std::string tooltip;
  int bitmapId = 0;  // 0: no picture
  std::string clipName;
  std::shared_ptr<const AviClip> clip;
  int clipFrom = 0, clipTo = 0, clipRepeat = 0;
};

struct MenuEntry {
  unsigned id = 0;  // 0: a separator
  std::string text;
};

struct DialogModel {
  std::uint32_t handle = 0;
  std::uint32_t owner = 0;  // 0: a window of its own (the main window)
  int templateId = 0;       // -1 for a message box
  std::string caption;
  DuRect rect;
  std::uint32_t style = 0, exStyle = 0;
  bool centered = false;
  unsigned iconFlags = 0;              // a message box's icon (MB_ICONHAND, MB_ICONEXCLAMATION)
  std::vector<ControlModel> controls;  // template order
  std::vector<MenuEntry> menu;
  bool closeBoxEnabled = true;
  bool visible = false, minimized = false, enabled = true;
  std::uint32_t focus = 0;        // the control with the core's focus
  std::uint32_t defaultLook = 0;  // the push button drawn as default
};

// A key the dialog keyboard takes (the core's Key, one for one).
enum class KeyName {
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
  Letter
};

// Raw input as Windows delivered it (the core's InputEvent, one for one).
struct UserInput {
  enum class Kind { Click, Key, Close, SysCommand, Tray, Slide, Taskbar };
  Kind kind = Kind::Click;
  std::uint32_t target = 0;  // the dialog it was made in; 0: the active one
  int id = 0;                // control id, menu command or tray mouse message
  int pos = 0;               // trackbar position
  KeyName key = KeyName::Enter;
  char letter = 0;
  bool alt = false;
};
