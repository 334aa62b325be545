// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/SystemLibraries.h"

#include <windows.h>

void SystemLibraries::OnlyFromTheSystemFolder() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // The current folder leaves the search of the calls that predate the line above, too.
  SetDllDirectoryW(L"");
}
