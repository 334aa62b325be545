// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a command line as a user would type it: `PROGRAM ARGS...` with the redirections `<file`,
// `>file`, `2>file` and `2>&1`, done left to right. Linux hands it to sh; on Windows the program
// is started directly and the redirections are done here, as cmd.exe would do them (starting
// cmd.exe for each run would double what a test run costs under Wine). The null device is
// kNullDevice.
#include <string>

extern const char* const kNullDevice;

// The command's exit status, or 128 + the signal that ended it.
int RunShell(const std::string& command);

// The same, with the command's standard output in `out`.
int RunShellCapturing(const std::string& command, std::string& out);
