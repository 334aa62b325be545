// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The wav reader against what only a POSIX system offers: sox's own reading of our cues, and a
// FIFO in a cue's place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

#include "common/WavInfo.h"

namespace {

// sox's own reading of a file's length in seconds, or NaN when sox could not read it.
double SoxSeconds(const std::string& path) {
  FILE* p = ::popen(("sox --i -D '" + path + "' 2>/dev/null").c_str(), "r");
  double s = NAN;
  if (p && std::fscanf(p, "%lf", &s) != 1) s = NAN;
  if (p) ::pclose(p);
  return s;
}

}  // namespace

TEST(WavInfo, OurCuesMatchSox) {
  const char* cues[] = {"welcome.wav", "tone.wav", "noalien.wav", "50.wav",     "100.wav",
                        "amaz",        "grey.wav", "test.wav",    "abductp.wav"};
  for (const char* name : cues) {
    SCOPED_TRACE(name);
    std::string path = std::string(QUORBLEX_SOURCE_DIR) + "/res/sounds/" + name;
    auto info = ReadWavInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(std::tuple(info->sampleRate, info->channels, info->bitsPerSample, info->formatTag),
              std::tuple(22050, 1, 16, 1));
    double sox = SoxSeconds(path);
    ASSERT_FALSE(std::isnan(sox))
        << "sox could not read it (is sox installed? ./test.sh installs it)";
    EXPECT_NEAR(info->durationMs, sox * 1000, 1.0);
  }
}

TEST(WavInfo, AFifoIsRefusedWithoutWaitingForAWriter) {
  const std::string fifo = ::testing::TempDir() + "/wavinfo_fifo";
  ::unlink(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadWavInfo(fifo));
  ::unlink(fifo.c_str());
}
