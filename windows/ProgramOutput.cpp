// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/ProgramOutput.h"

#include <windows.h>

#include "host/win32/WideText.h"

namespace {

bool WriteTo(HANDLE out, const std::string& text) {
  if (!out || out == INVALID_HANDLE_VALUE || GetFileType(out) == FILE_TYPE_UNKNOWN) return false;
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    // A console shows UTF-16 as it is, whatever its code page.
    std::wstring wide = Widen(text);
    DWORD written = 0;
    return WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  }
  DWORD written = 0;
  return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool WriteToParentConsole(const std::string& text) {
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  // The console's prompt came back when the program started; the text starts on a line of its
  // own.
  bool ok = WriteTo(console, "\n" + text);
  if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
  FreeConsole();
  return ok;
}

}  // namespace

void ProgramOutput::Say(const std::string& text, bool error) {
  if (WriteTo(GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), text)) return;
  if (WriteToParentConsole(text)) return;
  MessageBoxW(nullptr, Widen(text).c_str(), L"Quorblex Pro",
              MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}
