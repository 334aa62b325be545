// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the profile is kept on disk, the part of ProfileStore that talks to the system (one source
// file per system): a whole-file read, and one locked read-modify-write that replaces the file
// atomically. ProfileStore.h states the promises; this keeps them.
//
// Errors are errno values (0 is success); on Windows the system's errors are mapped to the
// nearest one, so a failed save reads the same on both.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class ProfileFile {
 public:
  enum class ReadResult { Ok, Missing, Failed };

  // Reads the whole regular file at `path` if it holds at most `limit` bytes. Failed leaves the
  // reason in errno (EFBIG when it is larger, EISDIR for a folder).
  static ReadResult Read(const std::string& path, size_t limit, std::string& text);

  // Starts a write of the profile at `path`: finds the file to replace (through symbolic links
  // where the system has them), refuses a folder or device in its place, and waits for the write
  // lock that serialises every writer of this profile, in this process or another.
  explicit ProfileFile(const std::string& path);
  ~ProfileFile();
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  // 0 when the lock is held and the write may go on, else why not.
  int Error() const;
  // Reads the file as it is under the lock.
  ReadResult Load(size_t limit, std::string& text);
  // Replaces the file with `text` in one step, keeping a loaded file's permissions; returns 0
  // or why it failed, the old file then untouched and no temp file left behind.
  int Replace(std::string_view text);

 private:
  struct State;
  std::unique_ptr<State> state_;
};
