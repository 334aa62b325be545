// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Two running copies of the program save into one profile at the same time. Each write reads the
// file, changes a line and puts the whole file back, so without the lock between them one copy
// would put back a file that lacks what the other just wrote. Every key of both must be there at
// the end, and the lines around them as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "common/IniText.h"
#include "common/NativePath.h"
#include "common/SystemFolders.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/Shell.h"

namespace {

constexpr int kKeysEach = 300;

TEST(ProfileWriters, TwoCopiesSavingAtOnceLoseNothing) {
  const std::string dir = NewTempFolder("profile-writers-");
  ASSERT_FALSE(dir.empty());
  struct Cleanup {
    std::string dir;
    ~Cleanup() { std::filesystem::remove_all(NativePath(dir)); }
  } cleanup{dir};
  // A name outside ASCII on the way, as a user's folder may have.
  const std::string path = dir + "/Zo\u00eb.ini";
  const std::string head = "; shared profile\r\n[Options]\r\nMonitor=1\r\n";
  const std::string tail = "\r\n[Window]\r\nLeft=1\r\n";
  WriteAll(path, head + tail);

  int status[2] = {-1, -1};
  auto writer = [&](int w) {
    status[w] = RunShell(std::string(QUORBLEX_PROFILE_WRITER) + " \"" + path + "\" " +
                         (w == 0 ? "A" : "B") + " " + std::to_string(kKeysEach));
  };
  std::thread first(writer, 0), second(writer, 1);
  first.join();
  second.join();
  EXPECT_EQ(status[0], 0);
  EXPECT_EQ(status[1], 0);

  const std::string text = ReadAll(path);
  int missing = 0;
  for (const char* prefix : {"A", "B"}) {
    for (int i = 0; i < kKeysEach; ++i) {
      if (IniText::FindInt(text, "Options", prefix + std::to_string(i)) != i) ++missing;
    }
  }
  EXPECT_EQ(missing, 0) << "writes lost to the other copy";
  EXPECT_TRUE(text.starts_with(head)) << text.substr(0, 200);
  EXPECT_TRUE(text.ends_with(tail));
  EXPECT_EQ(ListingOf(dir), std::set<std::string>{"Zo\u00eb.ini"});
}

}  // namespace
