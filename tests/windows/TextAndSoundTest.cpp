// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// What the Windows host hands to Windows besides windows: wide texts and the chime's WAV image.
#include <gtest/gtest.h>

#include "common/DefaultChime.h"
#include "common/WavInfo.h"
#include "host/win32/WaveFile.h"
#include "host/win32/WideText.h"

namespace {

TEST(WideTextTest, UserFoldersAndAliensSurviveTheRoundTrip) {
  EXPECT_EQ(Widen("Zo\xc3\xab"), L"Zo\u00eb");
  EXPECT_EQ(Widen("\xc5\x81ukasz"), L"\u0141ukasz");
  for (std::string text : {"C:\\Users\\Zo\xc3\xab\\AppData", "\xc5\x81ukasz",
                           "\xf0\x9f\x91\xbd is here", "Quorblex Pro"})
    EXPECT_EQ(Narrow(Widen(text)), text);
  EXPECT_EQ(Widen("\xf0\x9f\x91\xbd").size(), 2u) << "a surrogate pair";
  EXPECT_TRUE(Widen("").empty());
  EXPECT_TRUE(Narrow(L"").empty());
}

TEST(WideTextTest, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  std::wstring wide = Widen(
      "a\xff"
      "b");
  ASSERT_EQ(wide.size(), 3u);
  EXPECT_EQ(wide[0], L'a');
  EXPECT_EQ(wide[1], L'\ufffd');
  EXPECT_EQ(wide[2], L'b');
}

TEST(WaveFileTest, TheChimeImageIsAWavFileOfTheChimesLength) {
  const std::vector<std::int16_t> samples = DefaultChimeSamples(22050);
  ASSERT_FALSE(samples.empty());
  const std::vector<std::uint8_t> file = WaveFile::FromSamples(samples, 22050);
  auto info = ParseWavInfo(file.data(), file.size());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->sampleRate, 22050);
  EXPECT_EQ(info->channels, 1);
  EXPECT_EQ(info->bitsPerSample, 16);
  EXPECT_EQ(info->formatTag, 1);
  EXPECT_EQ(info->dataBytes, static_cast<std::int64_t>(samples.size() * 2));
  EXPECT_EQ(info->durationMs, kDefaultChimeMs);
  ASSERT_EQ(file.size(), 44 + samples.size() * 2);
  for (size_t i = 0; i < samples.size(); i += 997) {
    auto lo = file[44 + 2 * i], hi = file[45 + 2 * i];
    EXPECT_EQ(static_cast<std::int16_t>(lo | hi << 8), samples[i]) << i;
  }
}

}  // namespace
