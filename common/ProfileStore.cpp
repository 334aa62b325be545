// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ProfileStore.h"

#include <cerrno>
#include <utility>

#include "common/IniText.h"
#include "common/ProfileFile.h"

namespace {

int Write(const std::string& path, std::string_view section, std::string_view key, int value) {
  if (!IniText::IsValidSection(section) || !IniText::IsValidKey(key)) return EINVAL;
  ProfileFile file(path);
  if (file.Error() != 0) return file.Error();

  std::string text;
  const ProfileFile::ReadResult read = file.Load(ProfileStore::kMaxFileSize, text);
  if (read == ProfileFile::ReadResult::Failed) return errno;
  const bool existed = read == ProfileFile::ReadResult::Ok;

  const std::string updated = IniText::SetInt(text, section, key, value);
  if (existed && updated == text) return 0;
  if (updated.size() > ProfileStore::kMaxFileSize) return EFBIG;
  return file.Replace(updated);
}

}  // namespace

ProfileStore::ProfileStore(std::string path) : path_(std::move(path)) {}

const std::string& ProfileStore::Path() const { return path_; }

int ProfileStore::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
  // No lock: writers replace the file in one step, so a read sees one whole version.
  std::string text;
  if (ProfileFile::Read(path_, kMaxFileSize, text) != ProfileFile::ReadResult::Ok) {
    return defaultValue;
  }
  return IniText::FindInt(text, section, key).value_or(defaultValue);
}

bool ProfileStore::WriteInt(std::string_view section, std::string_view key, int value) {
  const int error = Write(path_, section, key, value);
  if (error != 0) errno = error;
  return error == 0;
}
