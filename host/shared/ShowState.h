// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a desktop does with a dialog's window when the core shows, hides, minimizes or restores
// it, and what a change the desktop made itself means to the core.
#include "common/View.h"

namespace ShowState {

enum class Action { Hide, Minimize, Restore, Show };
// `minimizedOnScreen`: the desktop shows the window minimized now.
Action For(const DialogModel& dialog, bool minimizedOnScreen);
// A new window comes to the front when it first shows, unless it starts hidden or minimized.
bool RaisesOnShow(const DialogModel& dialog, bool initial);
// The desktop brought back a window that the core keeps minimized: the user clicked its entry
// in the task bar, and the core decides.
bool IsTaskbarRestore(bool coreVisible, bool coreMinimized);

}  // namespace ShowState
