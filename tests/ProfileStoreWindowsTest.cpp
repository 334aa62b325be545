// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The profile's promises in Windows' own terms: where it lives, the attributes a write keeps, a
// read-only file, the temp files of writers that are gone, and another program that holds the
// file for a moment or for longer.
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
#include "tests/support/SimRun.h"

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

// Another program holding the file at `path` without sharing it, as a virus scanner does, for
// `ms` milliseconds from the moment it holds it, or until this ends.
class Hold {
 public:
  Hold(const std::string& path, int ms) {
    static int count = 0;
    const std::wstring event = L"quorblex-hold-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                               std::to_wstring(++count);
    const HANDLE held = ::CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    std::wstring command = L"\"" + NativePath(QUORBLEX_FILE_HOLDER).wstring() + L"\" \"" +
                           NativePath(path).wstring() + L"\" " + std::to_wstring(ms) + L" " + event;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (held && ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                 nullptr, nullptr, &startup, &process_)) {
      const HANDLE either[] = {held, process_.hProcess};
      holding_ = ::WaitForMultipleObjects(2, either, FALSE, 30000) == WAIT_OBJECT_0;
    }
    if (held) ::CloseHandle(held);
  }
  ~Hold() {
    if (!process_.hProcess) return;
    ::TerminateProcess(process_.hProcess, 0);
    ::WaitForSingleObject(process_.hProcess, 10000);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

  bool Holding() const { return holding_; }

 private:
  PROCESS_INFORMATION process_{};
  bool holding_ = false;
};

// Milliseconds that `f` took.
template <typename F>
ULONGLONG Timed(F f) {
  const ULONGLONG start = ::GetTickCount64();
  f();
  return ::GetTickCount64() - start;
}

TEST_F(ProfileStoreWindowsTest, AWriteAndAReadWaitOutAMomentaryHold) {
  const std::string path = PathOf("quorblex.ini");
  WriteAll(path, "[Options]\r\nMonitor=1\r\n");
  ProfileStore store(path);
  {
    Hold hold(path, 300);
    ASSERT_TRUE(hold.Holding());
    EXPECT_TRUE(store.WriteInt("Options", "Monitor", 0));
  }
  EXPECT_EQ(ReadAll(path), "[Options]\r\nMonitor=0\r\n");
  {
    Hold hold(path, 300);
    ASSERT_TRUE(hold.Holding());
    EXPECT_EQ(store.GetInt("Options", "Monitor", 9), 0) << "the stored value, not the default";
  }
  EXPECT_EQ(Listing(), (std::set<std::string>{"quorblex.ini"}));
}

// Held for longer than the program waits: a save gives up after about a second, and one right
// after it does not wait again (Setup's OK saves eight options). The program's Setup says once
// that the settings were not saved, and the old profile is still there, alone.
TEST_F(ProfileStoreWindowsTest, ASaveThatMeetsALongHoldSaysSoAndKeepsTheOldProfile) {
  const std::string path = PathOf("quorblex.ini");
  const std::string old = "; mine\r\n[Options]\r\nSensitivity=3\r\n";
  WriteAll(path, old);
  SimResult r;
  {
    Hold hold(path, 30000);
    ASSERT_TRUE(hold.Holding());
    ProfileStore store(path);
    errno = 0;
    EXPECT_GE(Timed([&] { EXPECT_FALSE(store.WriteInt("Options", "Monitor", 0)); }), 900u);
    EXPECT_EQ(errno, EACCES);
    EXPECT_LT(Timed([&] { EXPECT_FALSE(store.WriteInt("Options", "Scan1", 0)); }), 500u);
    r = RunSim("--seed 1 --trace --profile " + path,
               "click 1002\nwait 10\nclick 1\nwait 10\nclick 1\nwait 10\n");
  }
  const std::vector<SimLine> boxes = r.With("msgbox");
  ASSERT_EQ(boxes.size(), 1u) << r.Text();
  EXPECT_TRUE(boxes[0].event.starts_with("msgbox \"Quorblex Pro could not save its settings to"))
      << boxes[0].event;
  EXPECT_TRUE(boxes[0].event.ends_with(":\\nPermission denied.\" \"Quorblex Pro\" 0x30"))
      << boxes[0].event;
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(Listing(), (std::set<std::string>{"quorblex.ini"}));
}

}  // namespace
