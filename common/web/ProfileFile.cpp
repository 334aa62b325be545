// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The profile in a web page: the INI file's text kept in the browser's storage under the file's
// name, read and written whole. The page runs one program on one thread and each store is one
// step for the browser, so there is nothing to lock and no temp file to rename; the text is
// what a desktop would have on disk, comments and unknown keys included. The storage itself
// is the page's (host/web/library.js).
#include "common/ProfileFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern "C" {
// A new string from malloc holding the stored text, 0 when there is none, -1 when the storage
// cannot be read.
std::intptr_t qx_storage_read(const char* key);
// 0 when stored, 1 when the storage is full, 2 when it refuses.
int qx_storage_write(const char* key, const char* text, size_t length);
}

namespace {

// The key is the file's name: the program has one profile, wherever a desktop keeps it.
std::string KeyOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

ProfileFile::ReadResult ReadStored(const std::string& path, size_t limit, std::string& text) {
  const std::intptr_t at = qx_storage_read(KeyOf(path).c_str());
  if (at == 0) return ProfileFile::ReadResult::Missing;
  if (at < 0) {
    errno = EACCES;
    return ProfileFile::ReadResult::Failed;
  }
  char* stored = reinterpret_cast<char*>(at);
  const size_t size = std::strlen(stored);
  if (size > limit) {
    std::free(stored);
    errno = EFBIG;
    return ProfileFile::ReadResult::Failed;
  }
  text.assign(stored, size);
  std::free(stored);
  return ProfileFile::ReadResult::Ok;
}

}  // namespace

struct ProfileFile::State {
  std::string path;
};

ProfileFile::ReadResult ProfileFile::Read(const std::string& path, size_t limit,
                                          std::string& text) {
  return ReadStored(path, limit, text);
}

ProfileFile::ProfileFile(const std::string& path) : state_(std::make_unique<State>()) {
  state_->path = path;
}

ProfileFile::~ProfileFile() = default;

int ProfileFile::Error() const { return 0; }

ProfileFile::ReadResult ProfileFile::Load(size_t limit, std::string& text) {
  return ReadStored(state_->path, limit, text);
}

int ProfileFile::Replace(std::string_view text) {
  const std::string copy(text);
  switch (qx_storage_write(KeyOf(state_->path).c_str(), copy.c_str(), copy.size())) {
    case 0:
      return 0;
    case 1:
      return ENOSPC;
    default:
      return EACCES;
  }
}
