// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ProfileFile.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>

#include "common/NativePath.h"

// The same design as on Linux, in Windows' terms: a lock file beside the profile held with
// LockFileEx, the new contents written to a temp file named after our process, flushed, and
// put in the profile's place with ReplaceFileW (which keeps the old file's attributes and
// security) or, for a new profile, MoveFileExW. A writer killed in the middle leaves its temp
// file; the next write removes the temp files of writers that no longer run.
//
// Symbolic links are rare on Windows and need privileges to make; a profile that is one is
// replaced as a plain file.
//
// Antivirus, backup and sync tools open files for a moment, often without sharing them: a
// read, the lock, or the rename that meets such a hold tries again for about a second before
// it gives up, and a save that gives up leaves the old profile as it was.

namespace {

constexpr int kOk = 0;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What a new profile takes over from the one it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The errno value nearest to a Windows error, so callers explain a failure the same way on
// every system.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
      return EINVAL;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return EIO;
  }
}

int LastErrno() { return ErrnoOf(::GetLastError()); }

// How long a read or a save waits for a file that another program holds.
constexpr ULONGLONG kPatienceMs = 1000;

// Errors that say another program has the file open, or is deleting it, for now. ReplaceFileW's
// own two mean that both files kept their names (we always give it a backup name).
bool HeldByAnother(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
      return true;
    default:
      return false;
  }
}

// The profile that stayed held through a whole wait, and when the wait ended. It is most
// likely held still: Setup's OK saves eight options one by one and then reads them back, and a
// second's wait for each would freeze the program for many. For two seconds after a wait that
// gave up, each of them tries once.
struct GaveUp {
  std::wstring path;
  ULONGLONG at = 0;
};
GaveUp& LastGaveUp() {
  static GaveUp gaveUp;
  return gaveUp;
}

// Runs `attempt` (true on success, else the reason in GetLastError) until it succeeds, fails for
// another reason than a hold, or the profile at `profile` has been held for about a second.
template <typename Attempt>
bool WhileHeld(const std::wstring& profile, Attempt attempt) {
  GaveUp& last = LastGaveUp();
  const ULONGLONG start = ::GetTickCount64();
  const bool patient = last.path != profile || start - last.at > 2 * kPatienceMs;
  DWORD pause = 5;
  for (;;) {
    if (attempt()) return true;
    const DWORD error = ::GetLastError();
    if (!HeldByAnother(error)) return false;
    const ULONGLONG now = ::GetTickCount64();
    if (!patient || now - start >= kPatienceMs) {
      last = {profile, now};
      ::SetLastError(error);
      return false;
    }
    ::Sleep(static_cast<DWORD>(std::min<ULONGLONG>(pause, kPatienceMs - (now - start))));
    pause = std::min<DWORD>(pause * 2, 100);
  }
}

// Owns a file handle.
class File {
 public:
  File() = default;
  explicit File(HANDLE h) : handle_(h) {}
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Close(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h) {
    Close();
    handle_ = h;
  }
  bool Close() {
    const HANDLE h = std::exchange(handle_, INVALID_HANDLE_VALUE);
    return h == INVALID_HANDLE_VALUE || ::CloseHandle(h);
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

using ReadResult = ProfileFile::ReadResult;

ReadResult Refuse(int error) {
  errno = error;
  return ReadResult::Failed;
}

// Why `path` is missing: ENOTDIR when a file stands where one of its folders should be (the
// answer a user can act on), else ENOENT.
int MissingReason(std::filesystem::path path) {
  while (path.has_relative_path() && path.has_parent_path()) {
    path = path.parent_path();
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? ENOENT : ENOTDIR;
  }
  return ENOENT;
}

// What is at `path`: nothing (ENOENT, or ENOTDIR when a folder on the way is a file), a folder
// (EISDIR), something else that is no file (EINVAL), or a file (kOk).
int KindOf(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const int error = LastErrno();
    return error == ENOENT ? MissingReason(path) : error;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EISDIR;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EINVAL;
  return kOk;
}

// Opens the profile for reading. Another program may hold it for a moment (see above); so may
// another copy of this one while it puts a new profile in its place (Windows then refuses to
// open the name, the old file being on its way out). A read waits for either, as a read on
// Linux would see one version or the other, rather than take the defaults.
HANDLE OpenForReading(const std::wstring& path) {
  HANDLE file = INVALID_HANDLE_VALUE;
  WhileHeld(path, [&] {
    file = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return true;
    const DWORD error = ::GetLastError();
    // A folder is refused the same way, and for good.
    if (error == ERROR_ACCESS_DENIED && KindOf(path) != kOk) {
      ::SetLastError(ERROR_DIRECTORY);
      return false;
    }
    ::SetLastError(error);
    return false;
  });
  return file;
}

ReadResult ReadProfile(const std::wstring& path, size_t limit, std::string& text) {
  text.clear();
  File file(OpenForReading(path));
  if (!file.Valid()) {
    const int error = LastErrno();
    if (error == ENOENT) return ReadResult::Missing;
    // A folder does not open as a file; say what it is.
    const int kind = KindOf(path);
    return Refuse(kind != kOk && kind != ENOENT ? kind : error);
  }
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return Refuse(EINVAL);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size)) return Refuse(LastErrno());
  if (size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > limit) return Refuse(EFBIG);
  // The size is only a hint: the file may grow while we read. Never more than a byte past the
  // limit.
  text.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) return Refuse(LastErrno());
    if (got == 0) break;
    text.append(buffer, got);
    if (text.size() > limit) return Refuse(EFBIG);
  }
  return ReadResult::Ok;
}

int WriteAll(HANDLE file, std::string_view data) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 30));
    DWORD done = 0;
    if (!::WriteFile(file, data.data(), chunk, &done, nullptr)) return LastErrno();
    if (done == 0) return ENOSPC;
    data.remove_prefix(done);
  }
  return kOk;
}

size_t LastSlash(const std::wstring& path) { return path.find_last_of(L"/\\"); }

std::wstring DirName(const std::wstring& path) {
  const size_t slash = LastSlash(path);
  if (slash == std::wstring::npos) return L".";
  return path.substr(0, slash + 1);  // keeps the slash, so "C:\" stays a folder
}

std::wstring BaseName(const std::wstring& path) {
  const size_t slash = LastSlash(path);
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Temp files are named ".<profile>.<pid>.<n>.tmp" beside the profile, so a leftover says which
// process made it.
std::wstring TempStem(const std::wstring& profile) {
  return L"." + BaseName(profile).substr(0, 200) + L".";
}

std::wstring TempName(const std::wstring& profile) {
  static unsigned counter = 0;
  return DirName(profile) + TempStem(profile) + std::to_wstring(::GetCurrentProcessId()) + L"." +
         std::to_wstring(counter++) + L".tmp";
}

bool AllDigits(std::wstring_view s) {
  if (s.empty()) return false;
  for (wchar_t c : s) {
    if (c < L'0' || c > L'9') return false;
  }
  return true;
}

// The process id in a temp file's name when `name` is exactly ".<profile>.<pid>.<n>.tmp",
// else 0.
DWORD TempFileOwner(std::wstring_view name, std::wstring_view stem) {
  if (!name.starts_with(stem) || !name.ends_with(L".tmp")) return 0;
  name.remove_prefix(stem.size());
  name.remove_suffix(4);
  const size_t dot = name.find(L'.');
  if (dot == std::wstring_view::npos) return 0;
  const std::wstring_view pid = name.substr(0, dot);
  if (!AllDigits(pid) || !AllDigits(name.substr(dot + 1)) || pid.size() > 9) return 0;
  return static_cast<DWORD>(std::stoul(std::wstring(pid)));
}

bool ProcessRuns(DWORD pid) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;  // someone else's: keep it
  const bool runs = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return runs;
}

// Removes the temp files that writers of this profile left when they were killed in the middle
// of a save. Called with the write lock held, so no writer of this profile is between making
// its temp file and renaming it; the process check on top keeps the temp file of a writer that
// does not take our lock.
void RemoveStaleTempFiles(const std::wstring& profile) {
  const std::wstring stem = TempStem(profile);
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((DirName(profile) + stem + L"*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const DWORD owner = TempFileOwner(found.cFileName, stem);
    if (owner == 0 || owner == ::GetCurrentProcessId() || ProcessRuns(owner)) continue;
    ::DeleteFileW((DirName(profile) + found.cFileName).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

// Holds an exclusive lock on "<profile>.lock" for its lifetime. Not on the profile itself: every
// write puts a new file in its place, so two writers could each lock "the" profile at once. The
// lock file is never renamed or deleted, and holds no data.
class WriteLock {
 public:
  explicit WriteLock(const std::wstring& profile) {
    WhileHeld(profile, [&] {
      file_.Reset(::CreateFileW((profile + L".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                                kShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      return file_.Valid();
    });
    if (!file_.Valid()) {
      error_ = LastErrno();
      return;
    }
    OVERLAPPED whole{};
    if (!::LockFileEx(file_.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
      error_ = LastErrno();
    }
  }
  // Closing the handle releases the lock.

  int Error() const { return error_; }

 private:
  File file_;
  int error_ = kOk;
};

// The new contents on their way to disk, deleted again unless Commit puts them in the profile's
// place.
class TempFile {
 public:
  explicit TempFile(const std::wstring& profile) {
    for (int attempt = 0; attempt < 100 && !file_.Valid(); ++attempt) {
      path_ = TempName(profile);
      file_.Reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file_.Valid() && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    error_ = file_.Valid() ? kOk : LastErrno();
    if (!file_.Valid()) path_.clear();
  }

  ~TempFile() {
    file_.Close();
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }

  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int Error() const { return error_; }
  HANDLE Get() const { return file_.Get(); }

  // Flushes the file to disk and puts it in the place of `target`, with the attributes the old
  // file had (hidden, say), when there was one.
  int Commit(const std::wstring& target, DWORD attributes) {
    if (!::FlushFileBuffers(file_.Get())) return LastErrno();
    if (!file_.Close()) return LastErrno();
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed) ::SetFileAttributesW(path_.c_str(), attributes & kKeptAttributes);
    const bool moved =
        existed ? Replace(target) : WhileHeld(target, [&] { return Rename(target); });
    if (!moved) return LastErrno();
    path_.clear();
    return kOk;
  }

 private:
  bool Rename(const std::wstring& target) {
    return ::MoveFileExW(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }

  // ReplaceFileW keeps the old file's attributes, security and creation time, as a rename on
  // Linux keeps the mode we copied. A file system that cannot do it still renames.
  //
  // It is given a backup name, which makes every failure one we can undo: with
  // ERROR_UNABLE_TO_REMOVE_REPLACED and ERROR_UNABLE_TO_MOVE_REPLACEMENT both files keep their
  // names; with ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 the old profile has gone to the backup name
  // and the new one could not follow into its place. Then the new one is moved in, or else the
  // old one put back; if neither will go, both are left where they are, never deleted.
  bool Replace(const std::wstring& target) {
    const std::wstring backup = path_.substr(0, path_.size() - 4) + L".bak";
    bool stranded = false;
    const bool replaced = WhileHeld(target, [&] {
      if (::ReplaceFileW(target.c_str(), path_.c_str(), backup.c_str(),
                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
      }
      const DWORD error = ::GetLastError();
      if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        if (::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        if (::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
          ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);  // as before the call: try again
          return false;
        }
        stranded = true;
      } else if (!HeldByAnother(error)) {
        // A file system without ReplaceFileW, or the old profile went in the meantime.
        return Rename(target);
      }
      ::SetLastError(error);
      return false;
    });
    const DWORD error = ::GetLastError();
    if (replaced || !stranded) ::DeleteFileW(backup.c_str());
    if (stranded) path_.clear();  // the new profile stays under the temp name
    ::SetLastError(error);
    return replaced;
  }

 private:
  File file_;
  std::wstring path_;  // the temp name, while there is one
  int error_ = kOk;
};

}  // namespace

// Where a write stands: the file it replaces, the lock it holds, what it found there.
struct ProfileFile::State {
  std::wstring target;
  int error = kOk;
  std::unique_ptr<WriteLock> lock;
  DWORD attributes = INVALID_FILE_ATTRIBUTES;  // the loaded file's, when there was one
};

ProfileFile::ReadResult ProfileFile::Read(const std::string& path, size_t limit,
                                          std::string& text) {
  return ReadProfile(NativePath(path).wstring(), limit, text);
}

ProfileFile::ProfileFile(const std::string& path) : state_(std::make_unique<State>()) {
  state_->target = NativePath(path).wstring();
  if (state_->target.empty()) {
    state_->error = ENOENT;
    return;
  }
  const int kind = KindOf(state_->target);
  if (kind != kOk && kind != ENOENT) {  // a missing file is made; anything else is refused
    state_->error = kind;
    return;
  }
  // Windows will not put a new file in the place of a read-only one; say so before trying, the
  // same on every file system.
  const DWORD attributes = ::GetFileAttributesW(state_->target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    state_->error = EACCES;
    return;
  }
  state_->lock = std::make_unique<WriteLock>(state_->target);
  state_->error = state_->lock->Error();
  if (state_->error == kOk) RemoveStaleTempFiles(state_->target);
}

ProfileFile::~ProfileFile() = default;

int ProfileFile::Error() const { return state_->error; }

ProfileFile::ReadResult ProfileFile::Load(size_t limit, std::string& text) {
  const ReadResult read = ReadProfile(state_->target, limit, text);
  state_->attributes = read == ReadResult::Ok ? ::GetFileAttributesW(state_->target.c_str())
                                              : INVALID_FILE_ATTRIBUTES;
  return read;
}

int ProfileFile::Replace(std::string_view text) {
  if (state_->error != kOk) return state_->error;
  TempFile temp(state_->target);
  if (temp.Error() != kOk) return temp.Error();
  const int written = WriteAll(temp.Get(), text);
  if (written != kOk) return written;
  return temp.Commit(state_->target, state_->attributes);
}
