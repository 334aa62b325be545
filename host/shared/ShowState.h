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
// Who acts on the desktop's restore command for a window. The core, when it keeps the window
// minimized; the desktop itself, when the desktop minimized a window the core shows (Show
// desktop, a shortcut that starts the program minimized), for the core never knew; nobody
// otherwise.
enum class Restore { ByCore, ByDesktop, Nobody };
Restore OnRestoreCommand(bool coreVisible, bool coreMinimized, bool minimizedOnScreen);

}  // namespace ShowState
