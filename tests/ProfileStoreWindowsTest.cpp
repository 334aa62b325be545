// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The profile's promises in Windows' own terms: where it lives, the attributes a write keeps, a
// read-only file, and the temp files of writers that are gone.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "common/NativePath.h"
#include "common/ProfileStore.h"
#include "common/SystemFolders.h"
#include "tests/support/ProfileFiles.h"

namespace {

namespace fs = std::filesystem;

class ProfileStoreWindowsTest : public ProfileFolderTest {
 protected:
  // A read-only file would outlive the folder's removal.
  void TearDown() override {
    for (const auto& entry : fs::directory_iterator(NativePath(dir_))) {
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    ProfileFolderTest::TearDown();
  }

  DWORD AttributesOf(const std::string& name) const {
    return ::GetFileAttributesW(NativePath(PathOf(name)).c_str());
  }
};

TEST_F(ProfileStoreWindowsTest, TheProfileLivesInTheRoamingApplicationData) {
  PWSTR roaming = nullptr;
  ASSERT_EQ(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming), S_OK);
  const fs::path expected = fs::path(roaming) / L"Quorblex Pro" / L"quorblex.ini";
  ::CoTaskMemFree(roaming);
  const std::string path = DefaultProfilePath();
  EXPECT_EQ(NativePath(path), expected);
  // The folder is made so that the first save has somewhere to go.
  EXPECT_TRUE(fs::is_directory(expected.parent_path()));
}

TEST_F(ProfileStoreWindowsTest, AWriteKeepsTheFilesAttributesAndAReadOnlyFileIsLeftAlone) {
  WriteAll(PathOf("hidden.ini"), "[Options]\r\nMonitor=1\r\n");
  ASSERT_TRUE(::SetFileAttributesW(NativePath(PathOf("hidden.ini")).c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ProfileStore hidden(PathOf("hidden.ini"));
  ASSERT_TRUE(hidden.WriteInt("Options", "Monitor", 0));
  EXPECT_EQ(ReadAll(PathOf("hidden.ini")), "[Options]\r\nMonitor=0\r\n");
  EXPECT_TRUE(AttributesOf("hidden.ini") & FILE_ATTRIBUTE_HIDDEN);

  // A user who marks the profile read-only means it: the save fails and says why.
  WriteAll(PathOf("kept.ini"), "[Options]\r\nMonitor=1\r\n");
  ASSERT_TRUE(
      ::SetFileAttributesW(NativePath(PathOf("kept.ini")).c_str(), FILE_ATTRIBUTE_READONLY));
  ProfileStore kept(PathOf("kept.ini"));
  errno = 0;
  EXPECT_FALSE(kept.WriteInt("Options", "Monitor", 0));
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(kept.GetInt("Options", "Monitor", -1), 1);
  EXPECT_EQ(ListingOf(dir_), (std::set<std::string>{"hidden.ini", "kept.ini"}));
}

// The id of a process that ran and is gone: a child we started and saw end (the profile writer,
// which says how to use it and ends).
DWORD GoneProcessId() {
  std::wstring command = L"\"" + NativePath(QUORBLEX_PROFILE_WRITER).wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
    return 0;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return process.dwProcessId;
}

TEST_F(ProfileStoreWindowsTest, TempFilesOfWritersThatAreGoneGoWithTheNextWrite) {
  const DWORD goneId = GoneProcessId();
  ASSERT_NE(goneId, 0u);
  const std::string gone = std::to_string(goneId);
  const std::string alive = std::to_string(::GetCurrentProcessId());
  const std::string path = PathOf("quorblex.ini");
  WriteAll(path, "[Options]\r\nMonitor=1\r\n");
  const std::set<std::string> expected = PlantTempFiles(dir_, gone, alive);
  ProfileStore store(path);
  ASSERT_TRUE(store.WriteInt("Options", "Monitor", 1));
  EXPECT_EQ(Listing(), expected);
}

}  // namespace
