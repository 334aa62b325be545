// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ReadOnlyFile.h"

#include <windows.h>

#include <algorithm>

#include "common/NativePath.h"

struct ReadOnlyFile::Handle {
  explicit Handle(HANDLE h) : file(h) {}
  ~Handle() { ::CloseHandle(file); }
  HANDLE file;
};

ReadOnlyFile::ReadOnlyFile() = default;
ReadOnlyFile::~ReadOnlyFile() = default;

bool ReadOnlyFile::Open(const std::string& path) {
  handle_.reset();
  // Others may go on writing, renaming or deleting the file while we hold it, as on Linux.
  const HANDLE file = ::CreateFileW(NativePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  auto handle = std::make_unique<Handle>(file);
  // A pipe, console or device is FILE_TYPE_PIPE or _CHAR; a folder does not open without
  // FILE_FLAG_BACKUP_SEMANTICS.
  if (::GetFileType(file) != FILE_TYPE_DISK) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) return false;
  size_ = static_cast<uint64_t>(size.QuadPart);
  handle_ = std::move(handle);
  return true;
}

uint64_t ReadOnlyFile::Size() const { return size_; }

bool ReadOnlyFile::ReadAt(uint64_t offset, size_t n, uint8_t* out) const {
  if (!handle_ || offset > size_ || n > size_ - offset) return false;
  while (n > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD want = static_cast<DWORD>(std::min<size_t>(n, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(handle_->file, out, want, &got, &at) || got == 0) return false;
    out += got;
    offset += got;
    n -= got;
  }
  return true;
}
