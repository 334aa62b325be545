// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/HelpViewer.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <iterator>

#include "host/win32/WideText.h"

bool HelpViewer::Open(const std::string& path) {
  std::wstring wide = Widen(path);
  if (wide.empty()) return false;
  // The data folder may have been found relative to the working folder; the browser runs
  // elsewhere.
  wchar_t full[MAX_PATH * 4];
  DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
  if (n > 0 && n < std::size(full)) wide = full;
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}
