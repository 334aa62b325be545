// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a command line as a user would type it: through sh on Linux, cmd.exe on Windows. Both
// take `>file`, `2>file`, `<file` and `2>&1`; the null device is named by kNullDevice.
#include <string>

extern const char* const kNullDevice;

// The command's exit status, or 128 + the signal that ended it.
int RunShell(const std::string& command);

// The same, with the command's standard output in `out`.
int RunShellCapturing(const std::string& command, std::string& out);
