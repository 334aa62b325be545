#include "common/ProfileStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>
#include <utility>

#include "common/IniText.h"

namespace {

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

enum class ReadResult { Ok, Missing, Failed };

// Reads a whole regular file of at most ProfileStore::kMaxFileSize bytes.
ReadResult ReadProfile(const std::string& path, std::string& text, struct stat& st) {
  text.clear();
  // O_NONBLOCK so that a FIFO in the profile's place cannot hang us; it is refused below.
  Fd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK));
  if (!fd.Valid()) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadResult::Failed;
  if (st.st_size < 0 || static_cast<size_t>(st.st_size) > ProfileStore::kMaxFileSize) {
    return ReadResult::Failed;
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
    if (text.size() > ProfileStore::kMaxFileSize) return ReadResult::Failed;
  }
  return ReadResult::Ok;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t done = ::write(fd, data.data(), data.size());
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (done == 0) return false;
    data.remove_prefix(static_cast<size_t>(done));
  }
  return true;
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
// into a plain file. nullopt for a loop or an unreadable link.
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
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) return std::nullopt;
    target.resize(static_cast<size_t>(length));
    current = target.front() == '/' ? target : DirName(current) + "/" + target;
  }
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
    if (!fd_.Valid()) return;
    int rc;
    do {
      rc = ::flock(fd_.Get(), LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    locked_ = rc == 0;
  }

  bool Locked() const { return locked_; }

 private:
  Fd fd_;
  bool locked_ = false;
};

// A new file next to the profile that is deleted again unless Commit renames it over the profile.
class TempFile {
 public:
  explicit TempFile(const std::string& profile) {
    static std::atomic<unsigned> counter{0};
    // Keep the name within NAME_MAX however long the profile's name is.
    const std::string stem = DirName(profile) + "/." + BaseName(profile).substr(0, 200) + "." +
                             std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100 && !fd_.Valid(); ++attempt) {
      path_ = stem + std::to_string(counter.fetch_add(1)) + ".tmp";
      fd_.Reset(OpenRetrying(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY, 0644));
      if (!fd_.Valid() && errno != EEXIST) break;
    }
    if (!fd_.Valid()) path_.clear();
  }

  ~TempFile() {
    fd_.Reset();
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool Valid() const { return fd_.Valid(); }
  int Get() const { return fd_.Get(); }

  // Gives the new file the old one's owner and permissions. The owner can only be changed by a
  // privileged process and is kept when possible; a failure there is not an error.
  bool CopyOwnerAndMode(const struct stat& old) {
    struct stat mine {};
    if (::fstat(fd_.Get(), &mine) != 0) return false;
    if (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) {
      [[maybe_unused]] const int ignored = ::fchown(fd_.Get(), old.st_uid, old.st_gid);
    }
    return ::fchmod(fd_.Get(), old.st_mode & 07777) == 0;
  }

  // Flushes the file to disk and renames it over `target`.
  bool Commit(const std::string& target) {
    int rc;
    do {
      rc = ::fsync(fd_.Get());
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 || !fd_.Close()) return false;
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  Fd fd_;
  std::string path_;
};

// Makes a rename in `dir` durable. Once the rename is done the new file is what everybody sees,
// so a failure here is not reported as a failed write.
void SyncFolder(const std::string& dir) {
  Fd fd(OpenRetrying(dir.c_str(), O_RDONLY | O_DIRECTORY));
  if (fd.Valid()) ::fsync(fd.Get());
}

}  // namespace

ProfileStore::ProfileStore(std::string path) : path_(std::move(path)) {}

const std::string& ProfileStore::Path() const { return path_; }

int ProfileStore::GetInt(std::string_view section, std::string_view key, int defaultValue) const {
  // No lock: writers replace the file with one rename, so a read sees one whole version.
  std::string text;
  struct stat st {};
  if (ReadProfile(path_, text, st) != ReadResult::Ok) return defaultValue;
  return IniText::FindInt(text, section, key).value_or(defaultValue);
}

bool ProfileStore::WriteInt(std::string_view section, std::string_view key, int value) {
  if (!IniText::IsValidSection(section) || !IniText::IsValidKey(key)) return false;
  const std::optional<std::string> target = ResolveLinks(path_);
  if (!target || target->empty()) return false;
  struct stat existing {};
  if (::stat(target->c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) return false;

  const WriteLock lock(*target);
  if (!lock.Locked()) return false;

  std::string text;
  struct stat old {};
  const ReadResult read = ReadProfile(*target, text, old);
  if (read == ReadResult::Failed) return false;
  const bool existed = read == ReadResult::Ok;

  const std::string updated = IniText::SetInt(text, section, key, value);
  if (existed && updated == text) return true;
  if (updated.size() > kMaxFileSize) return false;

  TempFile temp(*target);
  if (!temp.Valid()) return false;
  if (existed && !temp.CopyOwnerAndMode(old)) return false;
  if (!WriteAll(temp.Get(), updated)) return false;
  if (!temp.Commit(*target)) return false;
  SyncFolder(DirName(*target));
  return true;
}
