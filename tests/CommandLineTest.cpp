// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The two programs' command lines: what each accepts, what it refuses, and how --help and
// --version answer.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/DesktopCommandLine.h"
#include "host/headless/Simulator.h"
#include "tests/support/Shell.h"
#include "tests/support/SimRun.h"

namespace {
using Action = DesktopCommandLine::Action;

DesktopCommandLine Desktop(std::vector<std::string> args) {
  return DesktopCommandLine::Parse(args);
}

struct Output {
  int status = -1;
  std::string out;
};

// Runs a shell command and keeps its standard output and exit status.
Output RunCommand(const std::string& command) {
  Output o;
  o.status = RunShellCapturing(command, o.out);
  return o;
}
}  // namespace

TEST(DesktopCommandLine, HelpAndVersionWinWhereverTheyStand) {
  EXPECT_EQ(Desktop({"--help"}).action(), Action::kHelp);
  EXPECT_EQ(Desktop({"-h"}).action(), Action::kHelp);
  EXPECT_EQ(Desktop({"--version"}).action(), Action::kVersion);
  EXPECT_EQ(Desktop({"-style", "Fusion", "--version"}).action(), Action::kVersion);
  EXPECT_EQ(Desktop({"-reverse", "--help", "--bogus"}).action(), Action::kHelp);
  // A value of one of Qt's options is never read as an option of ours.
  EXPECT_EQ(Desktop({"-title", "--help"}).action(), Action::kRun);
}

TEST(DesktopCommandLine, QtOptionsPassWithOneOrTwoDashes) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {},
           {"-platform", "offscreen"},
           {"--platform", "xcb", "-display", ":3"},
           {"-style", "Windows", "-reverse"},
           {"-style=Fusion", "-stylesheet=a.qss", "-geometry", "300x200+5+5"},
           {"-qwindowtitle", "x", "-widgetcount", "-nograb", "-sync"}}) {
    DesktopCommandLine c = Desktop(args);
    EXPECT_EQ(c.action(), Action::kRun) << c.error();
  }
}

TEST(DesktopCommandLine, PlatformAndStyleChosenByHandAreNoted) {
  EXPECT_TRUE(Desktop({"-platform", "offscreen"}).platformGiven());
  EXPECT_TRUE(Desktop({"--platform", "offscreen"}).platformGiven());
  EXPECT_FALSE(Desktop({"-style", "platform"}).platformGiven());
  EXPECT_FALSE(Desktop({}).platformGiven());
  EXPECT_TRUE(Desktop({"-style", "Fusion"}).styleGiven());
  EXPECT_TRUE(Desktop({"--style=Fusion"}).styleGiven());
  EXPECT_FALSE(Desktop({"-stylesheet", "a.qss"}).styleGiven());
  EXPECT_FALSE(Desktop({"-stylesheet=a.qss"}).styleGiven());
  EXPECT_FALSE(Desktop({"-platform", "xcb"}).styleGiven());
}

TEST(DesktopCommandLine, RefusesWhatItDoesNotKnowNamingIt) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"-platform", "xcb", "-x"}, "unknown option -x"},
      {{"--"}, "unknown option --"},
      {{"scan.txt"}, "unexpected argument 'scan.txt'"},
      {{"-"}, "unexpected argument '-'"},
      {{"-style"}, "option -style needs a value"},
      {{"--display"}, "option --display needs a value"},
      {{"-styles=x"}, "unknown option -styles=x"},
  };
  for (const Case& c : cases) {
    DesktopCommandLine r = Desktop(c.args);
    EXPECT_EQ(r.action(), Action::kError) << c.error;
    EXPECT_EQ(r.error(), c.error);
  }
}

TEST(DesktopCommandLine, HelpStartsWithTheUsageLineAndNamesTheProfile) {
  std::string help = DesktopCommandLine::kHelp;
  EXPECT_EQ(help.rfind("usage: quorblex ", 0), 0u);
  EXPECT_NE(help.find("~/.config/quorblex.ini"), std::string::npos);
  EXPECT_NE(help.find("-platform"), std::string::npos);
}

TEST(SimCommandLine, HelpAndVersionStopTheReading) {
  EXPECT_TRUE(ParseSimArguments({"--help"}).help);
  EXPECT_TRUE(ParseSimArguments({"-h"}).help);
  SimOptions v = ParseSimArguments({"--seed", "3", "--version", "--bogus"});
  EXPECT_TRUE(v.version);
  EXPECT_FALSE(v.help);
  SimOptions plain = ParseSimArguments({"--seed", "3", "script.txt"});
  EXPECT_FALSE(plain.help || plain.version);
  EXPECT_THROW(ParseSimArguments({"--bogus", "--help"}), std::invalid_argument);
}

TEST(SimCommandLine, ProgramAnswersOnStandardOutput) {
  const std::string null = kNullDevice;
  Output help = RunCommand(std::string(QUORBLEX_SIM) + " --help 2>" + null);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: quorblex-sim ", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("--no-sound-device"), std::string::npos);

  Output version = RunCommand(std::string(QUORBLEX_SIM) + " --version 2>" + null);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("quorblex-sim (Quorblex Pro) ", 0), 0u) << version.out;
  EXPECT_NE(version.out.find("GPL-3.0-or-later"), std::string::npos) << version.out;

  EXPECT_EQ(help.out.find('\r'), std::string::npos) << "every line ends in LF alone";

  // A refused option says so on standard error only, with status 2.
  Output bad = RunCommand(std::string(QUORBLEX_SIM) + " --bogus <" + null + " 2>&1 >" + null);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out.rfind("quorblex-sim: unknown option --bogus\nusage: quorblex-sim ", 0), 0u)
      << bad.out;
}

// A script is read as the bytes it holds, from a file or from standard input, on every system:
// a CR before the line end is blank space, and a Ctrl-Z is a character like any other, not the
// end of the file.
TEST(SimCommandLine, ScriptBytesAreReadAsTheyAre) {
  const std::string script = "click 1000\r\nwait 100\x1a\r\nwait 5000\r\n";
  const std::string said = "quorblex-sim: script line 2: bad number '100\x1a'\n";
  const SimResult fromFile = RunSimUnchecked("--seed 1", script);
  EXPECT_EQ(fromFile.status, 2);
  EXPECT_EQ(fromFile.err, said);
  EXPECT_TRUE(fromFile.lines.empty());
  const SimResult fromInput = RunSimUnchecked("--seed 1 - <", script);
  EXPECT_EQ(fromInput.status, 2);
  EXPECT_EQ(fromInput.err, said);
}
