// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/KeyInput.h"

#include <windows.h>

#include "host/shared/KeyPolicy.h"

namespace {
std::optional<Key> Named(unsigned vk) {
  switch (vk) {
    case VK_RETURN:
      return Key::Enter;
    case VK_ESCAPE:
      return Key::Escape;
    case VK_SPACE:
      return Key::Space;
    case VK_TAB:
      return Key::Tab;
    case VK_LEFT:
      return Key::Left;
    case VK_RIGHT:
      return Key::Right;
    case VK_UP:
      return Key::Up;
    case VK_DOWN:
      return Key::Down;
    case VK_HOME:
      return Key::Home;
    case VK_END:
      return Key::End;
    case VK_PRIOR:
      return Key::PageUp;
    case VK_NEXT:
      return Key::PageDown;
    default:
      return std::nullopt;
  }
}
}  // namespace

std::optional<InputEvent> KeyInput::FromVirtualKey(unsigned vk, bool shift, bool alt,
                                                  bool ctrlOrWin) {
  KeyPolicy::Pressed p;
  p.named = Named(vk);
  // Virtual keys of letters and digits are their upper-case characters.
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) p.character = static_cast<char>(vk);
  p.shift = shift;
  p.alt = alt;
  p.ctrlOrWin = ctrlOrWin;
  return KeyPolicy::Decide(p, kNoView);
}
