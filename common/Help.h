// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's help page, a loose file found by name. HELP_CONTENTS asks the host's viewer for
// its contents; when the page cannot be found the user is told so in a message box.
#include "common/WinTypes.h"

class CWnd;

// `owner` owns the message box, if one is needed.
void WinHelp(CWnd* owner, UINT nCmd = HELP_CONTENTS);
