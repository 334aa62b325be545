// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which key presses a dialog hands to the core, the same on every desktop. A host names the
// key in its toolkit's words, reduces it to a Pressed, and reports what Decide gives.
//
// Ctrl and the Windows key make a press the desktop's own (a shortcut), never the dialog's.
// Letters and digits are the dialog's mnemonics, with or without Alt; Shift turns Tab back.
// Alt+Space opens the window menu, which the host shows itself.
#include <optional>

#include "common/View.h"

namespace KeyPolicy {

struct Pressed {
  std::optional<Key> named;  // Enter, Tab, the arrows...; Key::Letter is not used here
  char character = 0;        // otherwise the key's letter or digit, upper case; 0 for none
  bool shift = false, alt = false, ctrlOrWin = false;
};

// The input the dialog gets; none for a key it does not take. A host asks OpensWindowMenu
// first: Alt+Space is the window menu's, not the dialog's.
std::optional<InputEvent> Decide(const Pressed& key, ViewHandle dialog);
// Alt+Space: the window menu.
bool OpensWindowMenu(const Pressed& key);

}  // namespace KeyPolicy
