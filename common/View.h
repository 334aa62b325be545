// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a host shows and what it reports, in plain values: the one vocabulary every host reads.
//
// The core names its windows with the platform's words (HWND, WM_COMMAND, TRUE), and a host
// that includes the platform's own headers cannot see those. So nothing here includes them: a
// window is a number, a style is its bits, and each host, the Windows one included, includes
// this header and the host interface and nothing else of the core's windows.
//
// A host is handed snapshots: a dialog with all its controls when it is made or shown, one
// control when it changes. It never writes them back; what the user does comes back as
// InputEvent.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class AviClip;

// A window's number: a dialog or one of its controls. 0 names none.
using ViewHandle = std::uint32_t;
constexpr ViewHandle kNoView = 0;

enum class ControlKind {
  PushButton,
  CheckBox,
  GroupBox,
  Text,        // static text, left or right aligned, wrapping
  Picture,     // static picture showing a bitmap resource
  BlackRect,   // static filled black
  BlackFrame,  // static drawn as a black frame
  Trackbar,
  Animation,
  Icon,  // the icon of a message box
};

// A message box is built at run time; it has this template number.
constexpr int kMessageBoxTemplate = -1;

struct Rect {
  int x = 0, y = 0, cx = 0, cy = 0;
};

// What changed on a control.
enum class Change {
  Text,
  Picture,
  Enabled,
  Visible,
  Checked,
  Trackbar,
  Tooltip,
  ClipOpen,
  ClipPlay,
  ClipClose,
};

// The style bits a host draws by. They have the values the templates were written with, which
// are also Windows' own, so the Windows host hands `style` to the system unchanged.
namespace ViewStyle {
constexpr std::uint32_t kRight = 0x0002;          // a static text aligned right
constexpr std::uint32_t kNoPrefix = 0x0080;       // a static text: & is no mnemonic
constexpr std::uint32_t kSunken = 0x1000;         // a static with a sunken edge
constexpr std::uint32_t kDefPushButton = 0x0001;  // a push button drawn as default
constexpr std::uint32_t kBorder = 0x00800000;
constexpr std::uint32_t kExClientEdge = 0x0200;
// A message box's icon, from its flags.
constexpr std::uint32_t kIconMask = 0x00F0;
constexpr std::uint32_t kIconHand = 0x0010;
constexpr std::uint32_t kIconExclamation = 0x0030;
}  // namespace ViewStyle

// The window menu's Close command.
constexpr unsigned kCloseCommand = 0xF060;

struct MenuItem {
  unsigned id = 0;  // 0 for a separator
  std::string text;
};

struct ControlModel {
  ViewHandle handle = kNoView;
  ControlKind kind = ControlKind::Text;
  int id = 0;
  Rect rect;  // dialog units
  std::uint32_t style = 0, exStyle = 0;
  std::string text;
  bool enabled = true, visible = true;
  int checked = 0;
  int trackMin = 0, trackMax = 100, trackPos = 0;
  std::string tooltip;
  int bitmapId = 0;  // a picture's bitmap resource; 0 for none
  std::string clipName;
  std::shared_ptr<const AviClip> clip;  // open, or null
  int clipFrom = 0, clipTo = 0, clipRepeat = 0;
};

struct DialogModel {
  ViewHandle handle = kNoView;
  ViewHandle owner = kNoView;  // the window it is modal to; none for the main window
  int templateId = 0;          // -1 for a message box
  std::string caption;
  Rect rect;  // dialog units; x, y relative to the owner unless centered
  std::uint32_t style = 0, exStyle = 0;
  bool centered = false;
  std::uint32_t boxFlags = 0;          // a message box's flags; its icon is kIconMask of them
  std::vector<ControlModel> controls;  // template order, which is also the tab order
  std::vector<MenuItem> menu;         // the window menu's items
  bool closeBoxEnabled = true;
  bool visible = false, minimized = false, enabled = true;
  ViewHandle focus = kNoView;        // the control with the focus
  ViewHandle defaultLook = kNoView;  // the push button drawn with the default frame
};

// The notification icon's mouse events, as InputEvent::id of a Tray event (Windows' own
// numbers, which the program was written against).
namespace TrayMouse {
constexpr int kMove = 0x0200;
constexpr int kLeftDown = 0x0201;
constexpr int kLeftUp = 0x0202;
constexpr int kLeftDouble = 0x0203;
constexpr int kRightDown = 0x0204;
constexpr int kRightUp = 0x0205;
}  // namespace TrayMouse

// A key the dialog keyboard takes.
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

// Raw input as a host reports it: the core decides what it means.
struct InputEvent {
  enum class Kind { Click, Key, Close, SysCommand, Tray, Slide, Taskbar };
  Kind kind = Kind::Click;
  ViewHandle target = kNoView;  // the window the input was made in; none: the active window
  int id = 0;                   // control id, menu command or tray mouse message
  int pos = 0;                  // trackbar position
  Key key = Key::Enter;
  char letter = 0;
  bool alt = false;
  std::string origin;  // how the host describes it (the simulator's script command)
};
