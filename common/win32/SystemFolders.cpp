// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/SystemFolders.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <system_error>

#include "common/NativePath.h"

namespace {
// The user's roaming application data folder, as the shell knows it; the APPDATA variable when
// the shell cannot say.
std::filesystem::path RoamingAppData() {
  PWSTR known = nullptr;
  std::filesystem::path dir;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &known))) {
    dir = known;
  }
  ::CoTaskMemFree(known);
  if (!dir.empty()) return dir;
  if (const wchar_t* env = ::_wgetenv(L"APPDATA"); env && *env) return env;
  return L".";
}
}  // namespace

std::string ExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      // With '/' between folders, as the program writes paths (Windows takes either slash).
      return Utf8Path(std::filesystem::path(buf).generic_wstring());
    }
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);
  }
}

std::string NewTempFolder(const std::string& prefix) {
  std::wstring base(MAX_PATH + 1, L'\0');
  const DWORD n = ::GetTempPathW(static_cast<DWORD>(base.size()), base.data());
  if (n == 0 || n > base.size()) return {};
  base.resize(n);
  const std::filesystem::path stem = std::filesystem::path(base) / NativePath(prefix);
  // The process id and a counter make a name no other copy of us picks; the tick count skips
  // names a killed run of an earlier process with our id left behind.
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path dir = stem;
    dir += std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount()) +
           L"-" + std::to_wstring(counter++);
    if (::CreateDirectoryW(dir.c_str(), nullptr)) return Utf8Path(dir);
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

std::string DefaultProfilePath() {
  const std::filesystem::path dir = RoamingAppData() / L"Quorblex Pro";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return Utf8Path(dir / L"quorblex.ini");
}
