// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "common/ProfileStore.h"

namespace {

namespace fs = std::filesystem;

const char* const kKeys[] = {"UseSounds", "Monitor", "Scan1", "Scan2",
                             "Scan3",     "Scan4",   "Scan5", "Sensitivity"};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class ProfileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "profile-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

  // Names in the folder other than lock files; a failed or finished write must leave no temp file.
  std::set<std::string> Listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (!name.ends_with(".lock")) names.insert(name);
    }
    return names;
  }

  std::string dir_;
};

TEST_F(ProfileStoreTest, HandWrittenFileKeepsEveryByteAfterAllEightWrites) {
  const std::string path = PathOf("quorblex.ini");
  WriteAll(path,
           "; Quorblex Pro settings\r\n"
           "\r\n"
           "[Window]\r\n"
           "Left=10\r\n"
           "\r\n"
           "[options]\r\n"
           "# tuned by hand\r\n"
           "  USESOUNDS = 0\r\n"
           "monitor=1\r\n"
           "SCAN3\t=\t9\r\n"
           "\r\n"
           "[Extra]\r\n"
           "Note=keep me");
  ::chmod(path.c_str(), 0640);
  ProfileStore store(path);
  EXPECT_EQ(store.GetInt("Options", "UseSounds", 5), 0);
  EXPECT_EQ(store.GetInt("Options", "Scan3", 5), 9);
  EXPECT_EQ(store.GetInt("Options", "Scan4", 5), 5);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(store.WriteInt("Options", kKeys[i], 100 + i));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(store.GetInt("OPTIONS", kKeys[i], -1), 100 + i);
  EXPECT_EQ(ReadAll(path),
            "; Quorblex Pro settings\r\n"
            "\r\n"
            "[Window]\r\n"
            "Left=10\r\n"
            "\r\n"
            "[options]\r\n"
            "# tuned by hand\r\n"
            "  USESOUNDS = 100\r\n"
            "monitor=101\r\n"
            "SCAN3\t=\t104\r\n"
            "Scan1=102\r\n"
            "Scan2=103\r\n"
            "Scan4=105\r\n"
            "Scan5=106\r\n"
            "Sensitivity=107\r\n"
            "\r\n"
            "[Extra]\r\n"
            "Note=keep me");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Listing(), std::set<std::string>{"quorblex.ini"});
}

TEST_F(ProfileStoreTest, MissingFileSectionOrKeyGivesDefaultsAndWritesCreateThem) {
  const std::string path = PathOf("new.ini");
  ProfileStore store(path);
  EXPECT_EQ(store.Path(), path);
  EXPECT_EQ(store.GetInt("Options", "Monitor", 7), 7);
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 2));
  EXPECT_EQ(ReadAll(path), "[Options]\nMonitor=2\n");
  EXPECT_EQ(store.GetInt("Options", "Scan1", -3), -3);
  EXPECT_EQ(store.GetInt("Display", "Monitor", 8), 8);
  ASSERT_TRUE(store.WriteInt("Options", "Scan1", -3));
  ASSERT_TRUE(store.WriteInt("Display", "Monitor", 8));
  EXPECT_EQ(ReadAll(path), "[Options]\nMonitor=2\nScan1=-3\n[Display]\nMonitor=8\n");
  // Another store on the same file sees the writes at once: nothing is cached.
  ProfileStore other(path);
  ASSERT_TRUE(other.WriteInt("Options", "Monitor", 4));
  EXPECT_EQ(store.GetInt("Options", "Monitor", 0), 4);
}

TEST_F(ProfileStoreTest, HostileContentsNeverCrashAndStillTakeWrites) {
  std::string binary(70000, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 2654435761u >> 24);
  const struct {
    std::string text;
    int monitor;  // what GetInt("Options", "Monitor", -1) gives
  } cases[] = {
      {"", -1},
      {binary, -1},
      {std::string("[Options]\nMonitor=3\0junk", 24), -1},
      {"[Options]\nMonitor=3", 3},
      {"[Options]\n" + std::string(10 * 1024 * 1024, 'z') + "\nMonitor=3", 3},
      {"[Options]\nMonitor=4\n[options]\nMonitor=5\nmonitor=6\n", 4},
      {"[Options]\nMonitor=12abc\n", -1},
      {"[Options]\nMonitor=-0\n", 0},
      {"[Options]\nMonitor=99999999999\n", -1},
      {"[Options]\n=5\n", -1},
      {"[Options\nMonitor=3\n", -1},
  };
  const std::string path = PathOf("hostile.ini");
  for (const auto& c : cases) {
    WriteAll(path, c.text);
    ProfileStore store(path);
    EXPECT_EQ(store.GetInt("Options", "Monitor", -1), c.monitor) << c.text.substr(0, 40);
    ASSERT_TRUE(store.WriteInt("Options", "Monitor", 77));
    ASSERT_TRUE(store.WriteInt("Options", "Scan5", 78));
    EXPECT_EQ(store.GetInt("Options", "Monitor", -1), 77) << c.text.substr(0, 40);
    EXPECT_EQ(store.GetInt("Options", "Scan5", -1), 78) << c.text.substr(0, 40);
    if (c.text == binary) {
      EXPECT_EQ(ReadAll(path).substr(0, binary.size()), binary);
    }
  }
}

TEST_F(ProfileStoreTest, WritesThatCannotHappenReturnFalseAndChangeNothing) {
  const std::string file = PathOf("plain");
  WriteAll(file, "not a folder");
  fs::create_directory(PathOf("dir.ini"));
  ASSERT_EQ(::symlink("loop-b", PathOf("loop-a").c_str()), 0);
  ASSERT_EQ(::symlink("loop-a", PathOf("loop-b").c_str()), 0);
  ASSERT_EQ(::mkfifo(PathOf("fifo.ini").c_str(), 0644), 0);
  const auto before = Listing();
  // Each failure says why in errno, for the user to read.
  const std::pair<std::string, int> cases[] = {
      {file + "/profile.ini", ENOTDIR}, {PathOf("missing/profile.ini"), ENOENT},
      {"/proc/quorblex.ini", ENOENT},   {PathOf("dir.ini"), EISDIR},
      {PathOf("loop-a"), ELOOP},        {PathOf("fifo.ini"), EINVAL}};
  for (const auto& [path, error] : cases) {
    ProfileStore store(path);
    errno = 0;
    EXPECT_FALSE(store.WriteInt("Options", "Monitor", 1)) << path;
    EXPECT_EQ(errno, error) << path << ": " << std::strerror(errno);
    EXPECT_EQ(store.GetInt("Options", "Monitor", 9), 9) << path;
  }
  EXPECT_EQ(ReadAll(file), "not a folder");
  EXPECT_FALSE(fs::exists(PathOf("missing")));
  EXPECT_EQ(Listing(), before);

  // Names that would not read back as themselves.
  ProfileStore store(PathOf("names.ini"));
  EXPECT_FALSE(store.WriteInt("Opt]ions", "Monitor", 1));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_FALSE(store.WriteInt("Options", "Mon=itor", 1));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_FALSE(fs::exists(PathOf("names.ini")));
}

TEST_F(ProfileStoreTest, FullDiskLeavesTheOldFileAndNoTempFile) {
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

TEST_F(ProfileStoreTest, SymlinkedProfileStaysALinkAndItsTargetGetsTheValue) {
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

TEST_F(ProfileStoreTest, TempFilesOfWritersThatAreGoneGoWithTheNextWrite) {
  // A pid that no longer runs: a child we made and reaped.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const std::string gone = std::to_string(child);
  const std::string alive = std::to_string(::getppid());

  const std::string path = PathOf("quorblex.ini");
  WriteAll(path, "[Options]\nMonitor=1\n");
  const std::set<std::string> stale = {".quorblex.ini." + gone + ".0.tmp",
                                       ".quorblex.ini." + gone + ".17.tmp"};
  // Temp files of a writer that still runs, and names that only look like ours.
  const std::set<std::string> kept = {
      ".quorblex.ini." + alive + ".3.tmp",  ".quorblex.ini." + gone + ".tmp",
      ".quorblex.ini." + gone + ".1.tmp.x", ".quorblex.ini." + gone + ".x.tmp",
      ".quorblex.ini.-" + gone + ".1.tmp",  ".other.ini." + gone + ".1.tmp",
      "quorblex.ini." + gone + ".1.tmp",    ".quorblex.ini.99999999999.1.tmp"};
  for (const auto& names : {stale, kept}) {
    for (const std::string& name : names) WriteAll(PathOf(name), "leftover");
  }
  ProfileStore store(path);
  // Writing a value that is already there changes nothing, but it clears up all the same.
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 1));
  std::set<std::string> expected = kept;
  expected.insert("quorblex.ini");
  EXPECT_EQ(Listing(), expected);
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 0));
  EXPECT_EQ(Listing(), expected);
  EXPECT_EQ(ReadAll(path), "[Options]\nMonitor=0\n");
}

TEST_F(ProfileStoreTest, FilesOverSixteenMebibytesAreLeftAlone) {
  const std::string path = PathOf("huge.ini");
  const std::string head = "[Options]\nMonitor=3\n";
  for (const size_t size : {ProfileStore::kMaxFileSize, ProfileStore::kMaxFileSize + 1}) {
    WriteAll(path, head);
    fs::resize_file(path, size);  // the rest reads as NULs
    ProfileStore store(path);
    const bool fits = size <= ProfileStore::kMaxFileSize;
    EXPECT_EQ(store.GetInt("Options", "Monitor", -1), fits ? 3 : -1) << size;
    EXPECT_EQ(store.WriteInt("Options", "Monitor", 4), fits) << size;
    // A new key would push the file over the limit.
    EXPECT_FALSE(store.WriteInt("Options", "Scan1", 4)) << size;
    EXPECT_EQ(fs::file_size(path), size);
    EXPECT_EQ(ReadAll(path).substr(0, head.size()), fits ? "[Options]\nMonitor=4\n" : head);
    EXPECT_EQ(Listing(), std::set<std::string>{"huge.ini"});
  }
}

}  // namespace
