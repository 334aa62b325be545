// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/KeyInput.h"

#include <windows.h>

namespace {
std::optional<KeyName> Named(unsigned vk, bool shift) {
  switch (vk) {
    case VK_RETURN:
      return KeyName::Enter;
    case VK_ESCAPE:
      return KeyName::Escape;
    case VK_SPACE:
      return KeyName::Space;
    case VK_TAB:
      return shift ? KeyName::ShiftTab : KeyName::Tab;
    case VK_LEFT:
      return KeyName::Left;
    case VK_RIGHT:
      return KeyName::Right;
    case VK_UP:
      return KeyName::Up;
    case VK_DOWN:
      return KeyName::Down;
    case VK_HOME:
      return KeyName::Home;
    case VK_END:
      return KeyName::End;
    case VK_PRIOR:
      return KeyName::PageUp;
    case VK_NEXT:
      return KeyName::PageDown;
    default:
      return std::nullopt;
  }
}
}  // namespace

std::optional<UserInput> KeyInput::FromVirtualKey(unsigned vk, bool shift, bool alt,
                                                  bool ctrlOrWin) {
  if (ctrlOrWin) return std::nullopt;
  UserInput input;
  input.kind = UserInput::Kind::Key;
  if (auto named = Named(vk, shift)) {
    input.key = *named;
    return input;
  }
  const bool letter = vk >= 'A' && vk <= 'Z';
  const bool digit = vk >= '0' && vk <= '9';
  if (!letter && !digit) return std::nullopt;
  input.key = KeyName::Letter;
  input.letter = static_cast<char>(vk);
  input.alt = alt;
  return input;
}
