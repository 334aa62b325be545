// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Running a child process for the soak: its lines as they come, its status, its errors, and
// the end of a child whose reader has seen enough.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "tools/soak/SimProcess.h"

namespace {

class SimProcessTest : public ::testing::Test {
 protected:
  SimProcessTest() {
    char tmpl[] = "/tmp/quorblex-simprocess-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
  }
  ~SimProcessTest() override { std::filesystem::remove_all(dir_); }

  SimOutcome Shell(const std::string& command, std::vector<std::string>* lines,
                   int keep = 1 << 30) {
    return SimProcess::Run({"/bin/sh", "-c", command}, dir_ + "/err", 60,
                           [&, keep](std::string_view l) {
                             lines->emplace_back(l);
                             return static_cast<int>(lines->size()) < keep;
                           });
  }

  std::string dir_;
};

TEST_F(SimProcessTest, LinesComeInOrderTheLastOneEvenWithoutItsLineBreak) {
  std::vector<std::string> lines;
  const SimOutcome out = Shell("printf 'a\\n\\nb b\\nc'", &lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "b b", "c"}));
  EXPECT_EQ(out.status, 0);
  EXPECT_FALSE(out.timedOut || out.stopped);
  EXPECT_EQ(out.errors, "");
}

TEST_F(SimProcessTest, StatusSignalsAndStandardErrorAreReported) {
  std::vector<std::string> lines;
  SimOutcome out = Shell("echo oops >&2; exit 3", &lines);
  EXPECT_EQ(out.status, 3);
  EXPECT_EQ(out.errors, "oops\n");
  out = Shell("kill -SEGV $$", &lines);
  EXPECT_EQ(out.status, 128 + 11);
  out = SimProcess::Run({dir_ + "/no-such-program"}, dir_ + "/err", 60,
                        [](std::string_view) { return true; });
  EXPECT_EQ(out.status, 127);
}

TEST_F(SimProcessTest, ARefusedLineEndsAnEndlessChild) {
  std::vector<std::string> lines;
  const SimOutcome out = Shell("while :; do echo y; done", &lines, 5);
  EXPECT_TRUE(out.stopped);
  EXPECT_EQ(lines.size(), 5u);
  EXPECT_EQ(out.status, 128 + 9);
}

}  // namespace
