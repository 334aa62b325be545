// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ReadOnlyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

struct ReadOnlyFile::Handle {
  explicit Handle(int f) : fd(f) {}
  ~Handle() { ::close(fd); }
  int fd;
};

ReadOnlyFile::ReadOnlyFile() = default;
ReadOnlyFile::~ReadOnlyFile() = default;

bool ReadOnlyFile::Open(const std::string& path) {
  handle_.reset();
  // O_NONBLOCK: opening a FIFO must not hang; it is then refused as not a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  auto handle = std::make_unique<Handle>(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return false;
  size_ = static_cast<uint64_t>(st.st_size);
  handle_ = std::move(handle);
  return true;
}

uint64_t ReadOnlyFile::Size() const { return size_; }

bool ReadOnlyFile::ReadAt(uint64_t offset, size_t n, uint8_t* out) const {
  if (!handle_ || offset > size_ || n > size_ - offset) return false;
  while (n > 0) {
    if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return false;
    const ssize_t got = ::pread(handle_->fd, out, n, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // an error, or the file shrank under us
    out += got;
    offset += static_cast<uint64_t>(got);
    n -= static_cast<size_t>(got);
  }
  return true;
}
