// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex_file_holder PATH MILLISECONDS EVENT: opens the file at PATH without sharing it, as a
// virus scanner or a backup tool does for a moment, sets the named event once it holds the
// file, and lets go after MILLISECONDS. Exit status 1 when the file could not be opened.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string>

int main() {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv || argc != 4) return 2;
  const HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const HANDLE held = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
  if (held) ::SetEvent(held);
  ::Sleep(static_cast<DWORD>(std::stoul(argv[2])));
  ::CloseHandle(file);
  return 0;
}
