// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message maps: each window class lists which messages and commands reach which handler, and
// names its base class's map; a message not in the chain goes to the default processing.
//
//   const MsgMap* CScannerDlg::GetMessageMap() const {
//     static const MsgMapEntry entries[] = {
//         OnCommand<1000, &CScannerDlg::OnScan>(),
//         OnTimerMessage<&CScannerDlg::OnTimer>(),
//     };
//     static const MsgMap map{CDialog::GetMessageMap(), entries};
//     return &map;
//   }
#include <span>

#include "common/WinTypes.h"

class CWnd;

struct MsgMapEntry {
  UINT message;
  UINT id;  // the command identifier for WM_COMMAND; otherwise 0
  LRESULT (*call)(CWnd* self, WPARAM wParam, LPARAM lParam);
};

struct MsgMap {
  const MsgMap* base;
  std::span<const MsgMapEntry> entries;
};

namespace msgmap_detail {
template <typename T>
struct ClassOf;
template <typename C, typename R, typename... A>
struct ClassOf<R (C::*)(A...)> {
  using type = C;
};
template <auto Fn>
using Class = typename ClassOf<decltype(Fn)>::type;
template <auto Fn>
Class<Fn>* Self(CWnd* w) {
  return static_cast<Class<Fn>*>(w);
}
}  // namespace msgmap_detail

// WM_COMMAND from control or menu `Id` (BN_CLICKED): void Handler().
template <UINT Id, auto Fn>
constexpr MsgMapEntry OnCommand() {
  return {WM_COMMAND, Id, [](CWnd* w, WPARAM, LPARAM) -> LRESULT {
            (msgmap_detail::Self<Fn>(w)->*Fn)();
            return 0;
          }};
}

// WM_TIMER: void OnTimer(UINT_PTR nIDEvent).
template <auto Fn>
constexpr MsgMapEntry OnTimerMessage() {
  return {WM_TIMER, 0, [](CWnd* w, WPARAM wp, LPARAM) -> LRESULT {
            (msgmap_detail::Self<Fn>(w)->*Fn)(wp);
            return 0;
          }};
}

// WM_SYSCOMMAND: void OnSysCommand(UINT nID, LPARAM lParam).
template <auto Fn>
constexpr MsgMapEntry OnSysCommandMessage() {
  return {WM_SYSCOMMAND, 0, [](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT {
            (msgmap_detail::Self<Fn>(w)->*Fn)(static_cast<UINT>(wp), lp);
            return 0;
          }};
}

// Any message with a handler that takes no arguments and returns nothing (WM_PAINT).
template <UINT Message, auto Fn>
constexpr MsgMapEntry OnMessage() {
  return {Message, 0, [](CWnd* w, WPARAM, LPARAM) -> LRESULT {
            (msgmap_detail::Self<Fn>(w)->*Fn)();
            return 0;
          }};
}

// A message whose handler returns a value (WM_QUERYDRAGICON): R Handler().
template <UINT Message, auto Fn>
constexpr MsgMapEntry OnQuery() {
  return {Message, 0, [](CWnd* w, WPARAM, LPARAM) -> LRESULT {
            return static_cast<LRESULT>((msgmap_detail::Self<Fn>(w)->*Fn)());
          }};
}
