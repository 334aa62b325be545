// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small vocabulary of the window system: handles, message numbers, styles and command
// identifiers, with the values the program's classes were written against.
#include <cstdint>

using UINT = unsigned int;
using BOOL = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD = std::uint32_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// A window handle names a window by number; a message for a window that is gone is dropped,
// never dereferenced.
using HWND = std::uint32_t;
constexpr HWND kNoWindow = 0;

// Bitmaps and icons are handles too; they name a loaded resource.
using HBITMAP = std::uint32_t;
using HICON = std::uint32_t;

// A message as the queue holds it and as PreTranslateMessage sees it.
struct MSG {
  HWND hwnd = kNoWindow;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Messages.
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_USER = 0x0400;
// The program's private messages: the start-up message a window posts to itself so that its
// work starts once its modal loop runs, and the notification icon's callback.
constexpr UINT WM_STARTUP_NOTIFY = WM_USER + 87;
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 88;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT TBM_GETPOS = 0x0400;
constexpr UINT TBM_SETPOS = 0x0405;
constexpr UINT TBM_SETRANGE = 0x0406;
// Our tooltips live on the control they describe: TTM_ADDTOOL goes to that control, with the
// text in lParam.
constexpr UINT TTM_ADDTOOL = 0x0404;
// ACM_OPEN with no name closes the clip; ACM_PLAY: wParam the repeat count, lParam the first
// and last frame in its low and high word.
constexpr UINT ACM_OPEN = 0x0464;
constexpr UINT ACM_PLAY = 0x0465;

// Command identifiers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr UINT SC_CLOSE = 0xF060;
// The low four bits of a WM_SYSCOMMAND's command are the platform's own.
constexpr UINT SC_MASK = 0xFFF0;
constexpr UINT BN_CLICKED = 0;
constexpr UINT IMAGE_BITMAP = 0;

// Keys, as key messages carry them; a key message with kShiftHeld in lParam was made with
// Shift held.
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr LPARAM kShiftHeld = 1;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// Window and control styles the templates use.
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_DISABLED = 0x08000000u;
constexpr DWORD WS_CAPTION = 0x00C00000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD WS_GROUP = 0x00020000u;
constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD DS_SETFONT = 0x0040u;
constexpr DWORD DS_MODALFRAME = 0x0080u;
constexpr DWORD WS_EX_CLIENTEDGE = 0x0200u;
constexpr DWORD WS_EX_APPWINDOW = 0x40000u;
// A button's kind is the low four bits of its style.
constexpr DWORD BS_TYPEMASK = 0xF;
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_RIGHT = 0x2;
constexpr DWORD SS_BLACKRECT = 0x4;
constexpr DWORD SS_BLACKFRAME = 0x7;
constexpr DWORD SS_BITMAP = 0xE;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD SS_SUNKEN = 0x1000;
constexpr DWORD TBS_AUTOTICKS = 0x1;
constexpr DWORD TBS_TOP = 0x4;

// Message box flags: the buttons in the low four bits, the icon in the next four.
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONEXCLAMATION = 0x30;

// Sound, help and notification-icon values.
constexpr UINT SND_SYNC = 0x0;
constexpr UINT SND_ASYNC = 0x1;
constexpr UINT HELP_CONTENTS = 0x3;
constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;

// Menu item kinds.
constexpr UINT MF_STRING = 0x0;
constexpr UINT MF_SEPARATOR = 0x800;

constexpr int LOWORD(WPARAM w) { return static_cast<int>(w & 0xFFFF); }
constexpr int HIWORD(WPARAM w) { return static_cast<int>((w >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
  return static_cast<WPARAM>((static_cast<unsigned>(lo) & 0xFFFF) |
                             ((static_cast<unsigned>(hi) & 0xFFFF) << 16));
}
