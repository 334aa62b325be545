// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program icon, resource 128: drawn at 16, 24, 32, 48 and 256 pixels and compiled into
// quorblex.exe. Windows picks the drawing for the size it asks for at the screen's density.
#include <windows.h>

namespace ProgramIcon {

constexpr int kResource = 128;

// The icon at the small (caption, notification area) or large (task bar, Alt+Tab) size for a
// screen of `dpi`; the caller destroys it. Windows' own application icon when the program
// carries none.
HICON Load(bool small, UINT dpi);

}  // namespace ProgramIcon
