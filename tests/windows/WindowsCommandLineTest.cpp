// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// quorblex.exe's command line.
#include <gtest/gtest.h>

#include "windows/WindowsCommandLine.h"

namespace {
using Action = WindowsCommandLine::Action;

TEST(WindowsCommandLineTest, HelpAndVersionInEveryWindowsSpelling) {
  EXPECT_EQ(WindowsCommandLine::Parse({}).action(), Action::kRun);
  for (const char* help : {"--help", "-h", "/?", "-?"})
    EXPECT_EQ(WindowsCommandLine::Parse({help}).action(), Action::kHelp) << help;
  EXPECT_EQ(WindowsCommandLine::Parse({"--version"}).action(), Action::kVersion);
  // The first word decides.
  EXPECT_EQ(WindowsCommandLine::Parse({"--version", "--bogus"}).action(), Action::kVersion);
  EXPECT_EQ(std::string(WindowsCommandLine::kHelp).substr(0, 16), "usage: quorblex ");
}

TEST(WindowsCommandLineTest, AnythingElseIsRefusedByName) {
  auto option = WindowsCommandLine::Parse({"--frobnicate"});
  EXPECT_EQ(option.action(), Action::kError);
  EXPECT_EQ(option.error(), "unknown option --frobnicate");
  EXPECT_EQ(WindowsCommandLine::Parse({"/S"}).error(), "unknown option /S");
  auto word = WindowsCommandLine::Parse({"scan"});
  EXPECT_EQ(word.action(), Action::kError);
  EXPECT_EQ(word.error(), "unexpected argument 'scan'");
}

}  // namespace
