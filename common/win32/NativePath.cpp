// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/NativePath.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>

namespace {
std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(wide), L'\0');
  if (wide > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), wide);
  return out;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int bytes =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  if (bytes > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), bytes, nullptr, nullptr);
  }
  return out;
}
}  // namespace

std::filesystem::path NativePath(const std::string& utf8) { return Widen(utf8); }

std::string Utf8Path(const std::filesystem::path& path) { return Narrow(path.wstring()); }

std::FILE* OpenFileForReading(const std::string& utf8) {
  // _wfopen would deny others the right to delete or rename the file while we read it.
  const HANDLE file = ::CreateFileW(Widen(utf8).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = ::_fdopen(fd, "rb");
  if (!stream) ::_close(fd);
  return stream;
}
