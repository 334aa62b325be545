// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where quorblex.exe's DLLs come from.

namespace SystemLibraries {

// From now on every DLL that is loaded by name comes from the system folder, never from the
// program's folder or the current one, where anyone who can write there could plant one. The
// DLLs Windows loads for the program before its first line runs are the system's known DLLs;
// the others it uses are loaded on first use (cmake/Win32Host.cmake), after this.
void OnlyFromTheSystemFolder();

}  // namespace SystemLibraries
