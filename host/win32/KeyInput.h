// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key presses the dialog keyboard takes, from what Windows reports with a WM_KEYDOWN or
// WM_SYSKEYDOWN: the virtual-key code and the modifiers held. What they do is the core's
// business.
#include <optional>

#include "common/View.h"

namespace KeyInput {

// Enter, Escape, Space, Tab and Shift+Tab, the arrows, Home, End, Page Up and Page Down name
// themselves (Alt makes no difference to them); a letter or digit is reported as its upper-case
// character with whether Alt was held. Nothing for any other key, nor for any key pressed with
// Ctrl or the Windows key.
std::optional<InputEvent> FromVirtualKey(unsigned virtualKey, bool shift, bool alt, bool ctrlOrWin);

}  // namespace KeyInput
