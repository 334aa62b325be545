// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The profile on every system: what it reads, what it keeps, what it refuses. The promises that
// only POSIX can be asked about (modes, links, FIFOs, signals) are in ProfileStorePosixTest.cpp;
// Windows' own in ProfileStoreWindowsTest.cpp.
#include <gtest/gtest.h>

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

class ProfileStoreTest : public ProfileFolderTest {};

TEST_F(ProfileStoreTest, HandWrittenFileKeepsEveryByteAfterAllEightWrites) {
  const std::string path = PathOf("quorblex.ini");
  const std::string original =
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
      "Note=keep me";
  WriteAll(path, original);
  ProfileStore store(path);
  EXPECT_EQ(store.GetInt("Options", "UseSounds", 5), 0);
  EXPECT_EQ(store.GetInt("Options", "Scan3", 5), 9);
  EXPECT_EQ(store.GetInt("Options", "Scan4", 5), 5);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(store.WriteInt("Options", kKeys[i], 100 + i));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(store.GetInt("OPTIONS", kKeys[i], -1), 100 + i);
  // Each value changes where it stands; the keys the file lacked follow the last one it had.
  EXPECT_EQ(ReadAll(path), Edited(original, {{"= 0\r", "= 100\r"},
                                             {"=1\r", "=101\r"},
                                             {"\t9\r\n",
                                              "\t104\r\nScan1=102\r\nScan2=103\r\nScan4=105\r\n"
                                              "Scan5=106\r\nSensitivity=107\r\n"}}));
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
  fs::create_directory(NativePath(PathOf("dir.ini")));
  const auto before = Listing();
  // Each failure says why in errno, for the user to read.
  const std::pair<std::string, int> cases[] = {{file + "/profile.ini", ENOTDIR},
                                               {PathOf("missing/profile.ini"), ENOENT},
                                               {PathOf("dir.ini"), EISDIR}};
  for (const auto& [path, error] : cases) ExpectWriteFails(path, error);
  EXPECT_EQ(ReadAll(file), "not a folder");
  EXPECT_FALSE(fs::exists(NativePath(PathOf("missing"))));
  EXPECT_EQ(Listing(), before);

  // Names that would not read back as themselves.
  ProfileStore store(PathOf("names.ini"));
  EXPECT_FALSE(store.WriteInt("Opt]ions", "Monitor", 1));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_FALSE(store.WriteInt("Options", "Mon=itor", 1));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_FALSE(fs::exists(NativePath(PathOf("names.ini"))));
}

// A user folder named in another script than ASCII holds a profile like any other: the names
// go to the system as they are on Linux, as UTF-16 on Windows.
TEST_F(ProfileStoreTest, FoldersNamedZoeOrLukaszHoldTheProfile) {
  for (const std::string user : {"Zo\u00eb", "\u0141ukasz", "\u5c0f\u6797 \U0001F47D"}) {
    SCOPED_TRACE(user);
    const std::string folder = PathOf(user);
    ASSERT_TRUE(fs::create_directory(NativePath(folder)));
    const std::string path = folder + "/quorblex.ini";
    ProfileStore store(path);
    EXPECT_EQ(store.GetInt("Options", "Monitor", 7), 7);
    ASSERT_TRUE(store.WriteInt("Options", "Monitor", 0));
    ASSERT_TRUE(store.WriteInt("Options", "Scan3", 1));
    EXPECT_EQ(store.GetInt("Options", "Monitor", 7), 0);
    EXPECT_EQ(ReadAll(path), "[Options]\nMonitor=0\nScan3=1\n");
    EXPECT_EQ(ListingOf(folder), std::set<std::string>{"quorblex.ini"});
  }
  // And the folders are there under those names, not under a code page's guess at them.
  EXPECT_EQ(Listing(),
            (std::set<std::string>{"Zo\u00eb", "\u0141ukasz", "\u5c0f\u6797 \U0001F47D"}));
}

TEST_F(ProfileStoreTest, FilesOverSixteenMebibytesAreLeftAlone) {
  const std::string path = PathOf("huge.ini");
  const std::string head = "[Options]\nMonitor=3\n";
  for (const size_t size : {ProfileStore::kMaxFileSize, ProfileStore::kMaxFileSize + 1}) {
    WriteAll(path, head);
    fs::resize_file(NativePath(path), size);  // the rest reads as NULs
    ProfileStore store(path);
    const bool fits = size <= ProfileStore::kMaxFileSize;
    EXPECT_EQ(store.GetInt("Options", "Monitor", -1), fits ? 3 : -1) << size;
    EXPECT_EQ(store.WriteInt("Options", "Monitor", 4), fits) << size;
    // A new key would push the file over the limit.
    EXPECT_FALSE(store.WriteInt("Options", "Scan1", 4)) << size;
    EXPECT_EQ(fs::file_size(NativePath(path)), size);
    EXPECT_EQ(ReadAll(path).substr(0, head.size()), fits ? "[Options]\nMonitor=4\n" : head);
    EXPECT_EQ(Listing(), std::set<std::string>{"huge.ini"});
  }
}

}  // namespace
