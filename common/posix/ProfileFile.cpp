// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ProfileFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <optional>
#include <utility>

namespace {

// Failures below return the errno value that says why; 0 is success.
constexpr int kOk = 0;
// Not an errno value: the file system cannot make or name an unnamed file here; a named temp
// file will do.
constexpr int kNoUnnamedFile = -1;

// Owns a file descriptor.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Reset(); }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes and reports whether the close went well (on some file systems a failed write only
  // shows up here).
  bool Close() {
    const int fd = std::exchange(fd_, -1);
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_ = -1;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

using ReadResult = ProfileFile::ReadResult;

ReadResult Refuse(int error) {
  errno = error;
  return ReadResult::Failed;
}

// Reads a whole regular file of at most `limit` bytes. Failed leaves the
// reason in errno.
ReadResult ReadProfile(const std::string& path, size_t limit, std::string& text, struct stat& st) {
  text.clear();
  // O_NONBLOCK so that a FIFO in the profile's place cannot hang us; it is refused below.
  Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK));
  if (!fd.Valid()) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  if (::fstat(fd.Get(), &st) != 0) return ReadResult::Failed;
  if (!S_ISREG(st.st_mode)) return Refuse(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  if (st.st_size < 0 || static_cast<size_t>(st.st_size) > limit) {
    return Refuse(EFBIG);
  }
  // st_size is only a hint (the file may grow while we read, and /proc files claim 0 bytes), so
  // read to the end but never more than one byte past the limit.
  text.reserve(static_cast<size_t>(st.st_size));
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ReadResult::Failed;
    }
    if (got == 0) break;
    text.append(buffer, static_cast<size_t>(got));
    if (text.size() > limit) return Refuse(EFBIG);
  }
  return ReadResult::Ok;
}

int WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t done = ::write(fd, data.data(), data.size());
    if (done < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (done == 0) return ENOSPC;
    data.remove_prefix(static_cast<size_t>(done));
  }
  return kOk;
}

std::string DirName(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write must replace: the path itself, or, when it is a symbolic link, the file at the
// end of the chain of links (which need not exist yet). Replacing the link itself would turn it
// into a plain file. nullopt for a loop or an unreadable link, with the reason in errno.
std::optional<std::string> ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0) {
      if (errno == ENOENT) return current;
      return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) return current;
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0) return std::nullopt;
    if (length == 0 || static_cast<size_t>(length) >= target.size()) {
      errno = length == 0 ? ENOENT : ENAMETOOLONG;
      return std::nullopt;
    }
    target.resize(static_cast<size_t>(length));
    current = target.front() == '/' ? target : DirName(current) + "/" + target;
  }
  errno = ELOOP;
  return std::nullopt;
}

// Holds an exclusive flock for its lifetime.
//
// The lock is taken on a separate file, "<profile>.lock", and not on the profile or its folder:
//  - the profile itself is no good, because every write renames a new file over it; a process
//    that opened the old file would lock an inode that is no longer the profile, and two writers
//    could each hold "the" lock at once;
//  - the folder would work, but it is usually the user's home or config folder, so one profile's
//    writer would hold up every other program that locks that folder.
// The lock file is never renamed or deleted, so all writers agree on its inode. It holds no data.
class WriteLock {
 public:
  explicit WriteLock(const std::string& profile)
      : fd_(OpenRetrying((profile + ".lock").c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NOCTTY,
                         0644)) {
    if (!fd_.Valid()) {
      error_ = errno;
      return;
    }
    int rc;
    do {
      rc = ::flock(fd_.Get(), LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    error_ = rc == 0 ? kOk : errno;
  }

  // kOk while the lock is held, else why it could not be taken.
  int Error() const { return error_; }

 private:
  Fd fd_;
  int error_ = kOk;
};

// Temp files are named ".<profile>.<pid>.<n>.tmp" next to the profile, so a leftover says which
// process made it.
std::string TempStem(const std::string& profile) {
  // Keep the name within NAME_MAX however long the profile's name is. Appended rather than
  // "." + ...: GCC 12 at -O3 misreads the inlined insert as an overlapping copy (-Wrestrict).
  std::string stem = ".";
  stem += BaseName(profile).substr(0, 200);
  stem += '.';
  return stem;
}

std::string TempName(const std::string& profile) {
  static std::atomic<unsigned> counter{0};
  return DirName(profile) + "/" + TempStem(profile) + std::to_string(::getpid()) + "." +
         std::to_string(counter.fetch_add(1)) + ".tmp";
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The pid in a temp file's name when `name` is exactly ".<profile>.<pid>.<n>.tmp", else 0.
pid_t TempFileOwner(std::string_view name, std::string_view stem) {
  if (!name.starts_with(stem) || !name.ends_with(".tmp")) return 0;
  name.remove_prefix(stem.size());
  name.remove_suffix(4);
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return 0;
  const std::string_view pid = name.substr(0, dot);
  if (!AllDigits(pid) || !AllDigits(name.substr(dot + 1)) || pid.size() > 9) return 0;
  return static_cast<pid_t>(std::stol(std::string(pid)));
}

// Removes the temp files that writers of this profile left behind when they were killed in the
// middle of a save. Called with the write lock held, so no writer of this profile is between
// making its temp file and renaming it; the pid check on top keeps the temp file of a writer
// that does not take our lock, for instance one on another machine sharing the folder.
void RemoveStaleTempFiles(const std::string& profile) {
  DIR* dir = ::opendir(DirName(profile).c_str());
  if (!dir) return;
  const std::string stem = TempStem(profile);
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t owner = TempFileOwner(entry->d_name, stem);
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// The new contents of a profile on their way to disk, deleted again unless Commit renames them
// over the profile.
//
// Where the file system can, the file has no name while it is written and synced (O_TMPFILE),
// so a process killed then leaves nothing behind; only at the end does it get a temp name,
// which the rename takes away at once. Elsewhere it is a named temp file from the start, and a
// writer killed in the middle leaves it behind for the next writer to remove.
class TempFile {
 public:
  TempFile(const std::string& profile, bool unnamed) : unnamed_(unnamed) {
    if (unnamed_) {
      fd_.Reset(OpenRetrying(DirName(profile).c_str(), O_TMPFILE | O_WRONLY, 0644));
      error_ = fd_.Valid() ? kOk : kNoUnnamedFile;
      return;
    }
    for (int attempt = 0; attempt < 100 && !fd_.Valid(); ++attempt) {
      path_ = TempName(profile);
      fd_.Reset(OpenRetrying(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY, 0644));
      if (!fd_.Valid() && errno != EEXIST) break;
    }
    error_ = fd_.Valid() ? kOk : errno;
    if (!fd_.Valid()) path_.clear();
  }

  ~TempFile() {
    fd_.Reset();
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int Error() const { return error_; }
  int Get() const { return fd_.Get(); }

  // Gives the new file the old one's owner and permissions. The owner can only be changed by a
  // privileged process and is kept when possible; a failure there is not an error.
  int CopyOwnerAndMode(const struct stat& old) {
    struct stat mine {};
    if (::fstat(fd_.Get(), &mine) != 0) return errno;
    if (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) {
      [[maybe_unused]] const int ignored = ::fchown(fd_.Get(), old.st_uid, old.st_gid);
    }
    return ::fchmod(fd_.Get(), old.st_mode & 07777) == 0 ? kOk : errno;
  }

  // Flushes the file to disk and renames it over `target`.
  int Commit(const std::string& target) {
    int rc;
    do {
      rc = ::fsync(fd_.Get());
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) return errno;
    if (unnamed_) {
      const int linked = GiveName(target);
      if (linked != kOk) return linked;
    }
    if (!fd_.Close()) return errno;
    if (::rename(path_.c_str(), target.c_str()) != 0) return errno;
    path_.clear();
    return kOk;
  }

 private:
  // Links the unnamed file in under a temp name. Through /proc, as any process may; failing
  // that, straight from the descriptor, which needs privileges.
  int GiveName(const std::string& target) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::string name = TempName(target);
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
          (errno != EEXIST &&
           ::linkat(fd_.Get(), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)) {
        path_ = name;
        return kOk;
      }
      if (errno != EEXIST) return kNoUnnamedFile;
    }
    return EEXIST;
  }

  Fd fd_;
  std::string path_;  // the temp name, while there is one
  bool unnamed_;
  int error_ = kOk;
};

// Writes `text` as the new `target` through a temp file; kNoUnnamedFile when `unnamed` was
// asked for and the file system cannot do it.
int Replace(const std::string& target, std::string_view text, const struct stat* old,
            bool unnamed) {
  TempFile temp(target, unnamed);
  if (temp.Error() != kOk) return temp.Error();
  if (old) {
    const int copied = temp.CopyOwnerAndMode(*old);
    if (copied != kOk) return copied;
  }
  const int written = WriteAll(temp.Get(), text);
  if (written != kOk) return written;
  return temp.Commit(target);
}

// Makes a rename in `dir` durable. Once the rename is done the new file is what everybody sees,
// so a failure here is not reported as a failed write.
void SyncFolder(const std::string& dir) {
  Fd fd(OpenRetrying(dir.c_str(), O_RDONLY | O_DIRECTORY));
  if (fd.Valid()) ::fsync(fd.Get());
}

}  // namespace

// Where a write stands: the file it replaces, the lock it holds, what it found there.
struct ProfileFile::State {
  std::string target;
  int error = kOk;
  std::unique_ptr<WriteLock> lock;
  bool existed = false;
  struct stat old {};
};

ProfileFile::ReadResult ProfileFile::Read(const std::string& path, size_t limit,
                                          std::string& text) {
  struct stat st {};
  return ReadProfile(path, limit, text, st);
}

ProfileFile::ProfileFile(const std::string& path) : state_(std::make_unique<State>()) {
  const std::optional<std::string> target = ResolveLinks(path);
  if (!target) {
    state_->error = errno;
    return;
  }
  if (target->empty()) {
    state_->error = ENOENT;
    return;
  }
  state_->target = *target;
  struct stat existing {};
  if (::stat(target->c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    state_->error = S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
    return;
  }
  state_->lock = std::make_unique<WriteLock>(*target);
  state_->error = state_->lock->Error();
  if (state_->error == kOk) RemoveStaleTempFiles(*target);
}

ProfileFile::~ProfileFile() = default;

int ProfileFile::Error() const { return state_->error; }

ProfileFile::ReadResult ProfileFile::Load(size_t limit, std::string& text) {
  const ReadResult read = ReadProfile(state_->target, limit, text, state_->old);
  state_->existed = read == ReadResult::Ok;
  return read;
}

int ProfileFile::Replace(std::string_view text) {
  if (state_->error != kOk) return state_->error;
  const std::string& target = state_->target;
  const struct stat* keep = state_->existed ? &state_->old : nullptr;
  int error = ::Replace(target, text, keep, true);
  if (error == kNoUnnamedFile) error = ::Replace(target, text, keep, false);
  if (error != kOk) return error;
  SyncFolder(DirName(target));
  return kOk;
}
