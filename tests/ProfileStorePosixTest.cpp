// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The profile's promises that only a POSIX system can be asked about: the file's mode, symbolic
// links, FIFOs, a full disk made by a file size limit, and temp files named after pids.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "common/NativePath.h"
#include "common/ProfileStore.h"
#include "common/SystemFolders.h"
#include "tests/support/ProfileFiles.h"

namespace {

namespace fs = std::filesystem;

class ProfileStorePosixTest : public ProfileFolderTest {};

TEST_F(ProfileStorePosixTest, AWriteKeepsTheFilesMode) {
  const std::string path = PathOf("quorblex.ini");
  WriteAll(path, "[Options]\nMonitor=1\n");
  ::chmod(path.c_str(), 0640);
  ProfileStore store(path);
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 0));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Listing(), std::set<std::string>{"quorblex.ini"});
}

TEST_F(ProfileStorePosixTest, WritesThatCannotHappenOnPosixReturnFalseAndChangeNothing) {
  ASSERT_EQ(::symlink("loop-b", PathOf("loop-a").c_str()), 0);
  ASSERT_EQ(::symlink("loop-a", PathOf("loop-b").c_str()), 0);
  ASSERT_EQ(::mkfifo(PathOf("fifo.ini").c_str(), 0644), 0);
  const auto before = Listing();
  const std::pair<std::string, int> cases[] = {
      {"/proc/quorblex.ini", ENOENT}, {PathOf("loop-a"), ELOOP}, {PathOf("fifo.ini"), EINVAL}};
  for (const auto& [path, error] : cases) ExpectWriteFails(path, error);
  EXPECT_EQ(Listing(), before);
}

TEST_F(ProfileStorePosixTest, FullDiskLeavesTheOldFileAndNoTempFile) {
  const std::string path = PathOf("full.ini");
  const std::string old = "[Options]\nMonitor=1\n; " + std::string(8000, 'p') + "\n";
  WriteAll(path, old);
  // A file size limit makes the kernel cut the temp file's write short, as a full disk would.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ProfileStore store(path);
    if (store.WriteInt("Options", "Scan1", 5)) ::_exit(1);
    ::_exit(errno == EFBIG ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  // 1: the write claimed success; 2: it failed for another reason than the one it met.
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(Listing(), std::set<std::string>{"full.ini"});
}

TEST_F(ProfileStorePosixTest, SymlinkedProfileStaysALinkAndItsTargetGetsTheValue) {
  fs::create_directory(PathOf("real"));
  fs::create_directory(PathOf("links"));
  WriteAll(PathOf("real/profile.ini"), "[Options]\nMonitor=1\n");
  // Relative links resolve from the link's folder, not from ours; a chain of links is followed.
  fs::create_symlink("../real/profile.ini", PathOf("links/first.ini"));
  fs::create_symlink("first.ini", PathOf("links/second.ini"));
  ProfileStore store(PathOf("links/second.ini"));
  EXPECT_EQ(store.GetInt("Options", "Monitor", 0), 1);
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 2));
  EXPECT_TRUE(fs::is_symlink(PathOf("links/first.ini")));
  EXPECT_TRUE(fs::is_symlink(PathOf("links/second.ini")));
  EXPECT_EQ(ReadAll(PathOf("real/profile.ini")), "[Options]\nMonitor=2\n");
  EXPECT_EQ(store.GetInt("Options", "Monitor", 0), 2);

  // A dangling link: the write creates the file it points at.
  fs::create_symlink("real/later.ini", PathOf("dangling.ini"));
  ProfileStore dangling(PathOf("dangling.ini"));
  ASSERT_TRUE(dangling.WriteInt("Options", "Scan2", 3));
  EXPECT_TRUE(fs::is_symlink(PathOf("dangling.ini")));
  EXPECT_EQ(ReadAll(PathOf("real/later.ini")), "[Options]\nScan2=3\n");
}

TEST_F(ProfileStorePosixTest, TempFilesOfWritersThatAreGoneGoWithTheNextWrite) {
  // A pid that no longer runs: a child we made and reaped.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const std::string gone = std::to_string(child);
  const std::string alive = std::to_string(::getppid());

  const std::string path = PathOf("quorblex.ini");
  WriteAll(path, "[Options]\nMonitor=1\n");
  const std::set<std::string> expected = PlantTempFiles(dir_, gone, alive);
  ProfileStore store(path);
  // Writing a value that is already there changes nothing, but it clears up all the same.
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 1));
  EXPECT_EQ(Listing(), expected);
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 0));
  EXPECT_EQ(Listing(), expected);
  EXPECT_EQ(ReadAll(path), "[Options]\nMonitor=0\n");
}

}  // namespace
