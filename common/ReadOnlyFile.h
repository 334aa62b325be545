// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A regular file opened for reading at any offset, closed with the object. Opening never blocks:
// a FIFO, a device or a folder in a file's place is refused, not waited on.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class ReadOnlyFile {
 public:
  // Opens the regular file at the UTF-8 path; false when it is not one or cannot be read.
  bool Open(const std::string& path);
  ReadOnlyFile();
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // The file's size when it was opened.
  uint64_t Size() const;
  // Copies exactly n bytes found at `offset` into `out`; false when they are not all there (the
  // file may have shrunk since it was opened) or the read fails.
  bool ReadAt(uint64_t offset, size_t n, uint8_t* out) const;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
  uint64_t size_ = 0;
};
