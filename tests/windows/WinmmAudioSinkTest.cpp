// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The cues through WINMM: a synchronous cue holds the caller for its length, an asynchronous
// one does not, a missing or broken cue sounds the chime, and without a device nothing plays.
// Needs a sound device: tests/windows/host_tests.sh gives Wine ALSA's null device, heard by
// nobody. That device takes sound as fast as it is given and Wine feeds it at its own pace, so
// a synchronous cue there holds the caller about half a second whatever its length: what can
// be checked is that it holds the caller at all, and for no longer than the cue and a second.
// Times are measured, never slept.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/win32/UnbiasedClock.h"
#include "host/win32/WaveFile.h"
#include "host/win32/WideText.h"
#include "host/win32/WinmmAudioSink.h"

namespace {

class WinmmAudioSinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    folder_ = Narrow(folder) + "quorblex-cues-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(folder_).c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& f : files_) DeleteFileW(Widen(f).c_str());
    for (auto d = folders_.rbegin(); d != folders_.rend(); ++d) RemoveDirectoryW(Widen(*d).c_str());
    RemoveDirectoryW(Widen(folder_).c_str());
  }

  // A folder inside ours whose full path is `length` characters long.
  std::string DeepFolder(size_t length) {
    std::string path = folder_ + "\\";
    path += std::string(length - path.size(), 'd');
    CreateDirectoryW(Widen(path).c_str(), nullptr);
    folders_.push_back(path);
    return path.substr(folder_.size() + 1);
  }
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::string path = folder_ + "\\" + name;
    std::FILE* f = _wfopen(Widen(path).c_str(), L"wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    files_.push_back(path);
    return path;
  }
  // A quiet cue `ms` long.
  std::string Cue(const std::string& name, int ms) {
    return Write(name, WaveFile::FromSamples(std::vector<std::int16_t>(22050 * ms / 1000), 22050));
  }
  // How long `play` held the caller, in milliseconds.
  template <typename F>
  std::int64_t Timed(F play) {
    std::int64_t start = clock_.Now();
    play();
    return clock_.Now() - start;
  }

  UnbiasedClock clock_;
  WinmmAudioSink sink_;
  std::string folder_;
  std::vector<std::string> folders_;
  std::vector<std::string> files_;
};

TEST_F(WinmmAudioSinkTest, ASynchronousCueHoldsTheCallerAndAnAsynchronousOneDoesNot) {
  ASSERT_GT(waveOutGetNumDevs(), 0u) << "no sound device to test with";
  const std::string cue = Cue("tone.wav", 2000);
  CueResult result{};
  const std::int64_t heldSync = Timed([&] { result = sink_.Play("tone.wav", cue, true); });
  EXPECT_EQ(result, CueResult::Played);
  EXPECT_LE(heldSync, 2000 + 1000) << "at most the cue's length and a second";
  const std::int64_t heldAsync = Timed([&] { result = sink_.Play("tone.wav", cue, false); });
  EXPECT_EQ(result, CueResult::Played);
  EXPECT_LT(heldAsync, 150);
  EXPECT_GT(heldSync, heldAsync + 100) << "the synchronous call waited for the sound";
  // A new cue stops the one still sounding: the next synchronous one is not held up by it.
  const std::string shortCue = Cue("blip.wav", 100);
  const std::int64_t held = Timed([&] { result = sink_.Play("blip.wav", shortCue, true); });
  EXPECT_EQ(result, CueResult::Played);
  EXPECT_LT(held, 100 + 1000);
}

// A copy of the program unpacked deep in a user's folders: its cues play, not the chime.
TEST_F(WinmmAudioSinkTest, ACueInAFolderWithALongPathPlaysAsItself) {
  ASSERT_GT(waveOutGetNumDevs(), 0u) << "no sound device to test with";
  const std::string cue = Cue(DeepFolder(250) + "\\welcome.wav", 300);
  ASSERT_GT(cue.size(), 260u);
  EXPECT_EQ(sink_.Play("welcome.wav", cue, true), CueResult::Played);
  EXPECT_EQ(sink_.Play("welcome.wav", cue, false), CueResult::Played);
}

TEST_F(WinmmAudioSinkTest, AMissingOrBrokenCueSoundsTheChime) {
  ASSERT_GT(waveOutGetNumDevs(), 0u) << "no sound device to test with";
  EXPECT_EQ(sink_.Play("amaz", "", true), CueResult::PlayedDefault);
  const std::string broken = Write("broken.wav", {'R', 'I', 'F', 'F', 1, 2, 3});
  EXPECT_EQ(sink_.Play("broken.wav", broken, false), CueResult::PlayedDefault)
      << "even when the call does not wait to hear it";
  EXPECT_EQ(sink_.Play("broken.wav", broken, true), CueResult::PlayedDefault);
}

TEST_F(WinmmAudioSinkTest, WithoutASoundDeviceEveryCueFailsAtOnce) {
  WinmmAudioSink silent([] { return 0u; });
  const std::string cue = Cue("tone.wav", 300);
  CueResult result{};
  std::int64_t held = Timed([&] { result = silent.Play("tone.wav", cue, true); });
  EXPECT_EQ(result, CueResult::Failed);
  EXPECT_LT(held, 100);
  EXPECT_EQ(silent.Play("amaz", "", true), CueResult::Failed) << "not even the chime";
}

}  // namespace
