// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings profile: an INI file on disk (see IniText.h for the format). Every call reads the
// file afresh; nothing is cached, so several stores and several processes may share one file.
//
// Writing is a locked read-modify-write that replaces the whole file atomically: readers, and a
// crash or a full disk at any moment, see either the old file or the new one, never a mix. A
// failed write leaves the old file as it was and no temp file behind. The new file is written
// without a name where the file system allows it, so a writer killed in the middle leaves
// nothing; elsewhere it leaves a temp file named after its pid, and the next write removes the
// temp files of writers that no longer run.
//
// A profile that is a symbolic link is read through the link and written to the file the link
// points at, so the link stays a link.
//
// Files over kMaxFileSize are not ours: reads give the defaults and writes fail without touching
// them. A write that would make the file larger than that fails as well.
#include <cstddef>
#include <string>
#include <string_view>

class ProfileStore {
 public:
  static constexpr size_t kMaxFileSize = size_t{16} * 1024 * 1024;

  explicit ProfileStore(std::string path);

  const std::string& Path() const;

  // The stored int, or defaultValue when the file, the section or the key is missing, the file
  // cannot be read or is too large, or the value is not a decimal int.
  int GetInt(std::string_view section, std::string_view key, int defaultValue) const;

  // Stores the value, creating the file, the section and the key as needed. Returns false when
  // the file could not be written (folder missing or read-only, disk full, file too large or not
  // a regular file, a name IniText cannot write); the file is then unchanged and errno says why.
  bool WriteInt(std::string_view section, std::string_view key, int value);

 private:
  std::string path_;
};
