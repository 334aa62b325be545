// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/KeyPolicy.h"

std::optional<InputEvent> KeyPolicy::Decide(const Pressed& key, ViewHandle dialog) {
  if (key.ctrlOrWin) return std::nullopt;
  InputEvent e;
  e.kind = InputEvent::Kind::Key;
  e.target = dialog;
  if (key.named && *key.named != Key::Letter) {
    e.key = *key.named == Key::Tab && key.shift ? Key::ShiftTab : *key.named;
    return e;
  }
  const char c = key.character;
  if (!(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9')) return std::nullopt;
  e.key = Key::Letter;
  e.letter = c;
  e.alt = key.alt;
  return e;
}

bool KeyPolicy::OpensWindowMenu(const Pressed& key) {
  return key.alt && !key.ctrlOrWin && key.named == Key::Space;
}
