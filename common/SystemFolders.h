// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folders the program asks the system for. Paths are UTF-8 (see NativePath.h); empty means
// the system could not say.
#include <string>

// The running program's own file, with '/' between folders.
std::string ExecutablePath();

// A new, empty folder of our own in the system's temporary folder, its name starting with
// `prefix`. The caller removes it.
std::string NewTempFolder(const std::string& prefix);

// Where this user's settings file lives: $XDG_CONFIG_HOME/quorblex.ini (else
// ~/.config/quorblex.ini) on Linux, %APPDATA%\Quorblex Pro\quorblex.ini on Windows. The folder
// is made when it is missing; a profile that still cannot be written is read as the defaults.
std::string DefaultProfilePath();
