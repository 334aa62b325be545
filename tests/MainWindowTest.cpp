// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it through the simulator: start-up, the lamp sweep, Minimize
// and the three ways to end the program.
#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "tests/support/SimRun.h"

namespace {

// The lamp lit after each tick, 0 for none: rebuilt from the picture lines of the transcript.
std::vector<int> LitLampPerTick(const SimResult& r, int ticks) {
  std::map<std::string, int> position;
  for (int k = 0; k < 10; ++k) position[std::to_string(kLampIds[k])] = k + 1;
  std::map<std::int64_t, int> litAt;
  int lit = 0;
  for (const auto& l : r.With("picture 102 ")) {
    std::string id = l.event.substr(12, 4);
    bool on = l.event.substr(17) == "147";
    if (on) lit = position[id];
    if (!on && lit == position[id]) lit = 0;
    litAt[l.time] = lit;
  }
  std::vector<int> out;
  int current = 0;
  for (int t = 1; t <= ticks; ++t) {
    if (auto it = litAt.find(25 * t); it != litAt.end()) current = it->second;
    out.push_back(current);
  }
  return out;
}
}  // namespace

TEST(MainWindow, StartsUpInOrder) {
  SimResult r = RunSim("--seed 1 --trace", "wait 30\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> expected = {
      "start",
      "open 102 \"Quorblex Pro\"",
      "clip open \"qx.avi\" ok",
      "clip play 0 65535 1",
      "tray add \"Quorblex Pro\"",
      "timer 102 1 set 25",
      "sound \"welcome.wav\" async",
      "picture 102 1018 147",
      "end",
  };
  EXPECT_EQ(r.Events(), expected) << r.Text();
  EXPECT_EQ(r.TimeOf("picture"), 25);
}

TEST(MainWindow, TheLampSweepRunsRightThenDarkThenBack) {
  SimResult r = RunSim("--seed 1", "wait 1200\n");
  std::vector<int> lit = LitLampPerTick(r, 48);
  // A cycle of 22 ticks: 1..10, 11 (dark), 10..1, 0 (dark), then it starts over.
  std::vector<int> cycle = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  for (int t = 0; t < 48; ++t) EXPECT_EQ(lit[t], cycle[t % 22]) << "tick " << t + 1;
  // Only the lamps that change are reported: one or two lines a tick.
  EXPECT_LE(r.With("picture").size(), 2u * 48);
}

TEST(MainWindow, WithMonitorOffNoTimerRunsAndNoLampMoves) {
  TempProfile p("[Options]\nMonitor=0\n");
  SimResult r = RunSim("--seed 1 --trace --profile " + p.path(), "wait 5000\n");
  EXPECT_TRUE(r.With("timer").empty()) << r.Text();
  EXPECT_TRUE(r.With("picture").empty());
  EXPECT_TRUE(r.Has("sound \"welcome.wav\" async"));
}

TEST(MainWindow, SoundsOffMeansNoWelcome) {
  TempProfile p("[Options]\nUseSounds=0\n");
  SimResult r = RunSim("--seed 1 --profile " + p.path(), "wait 100\n");
  EXPECT_TRUE(r.With("sound").empty());
}

TEST(MainWindow, MinimizeHidesAndTheSweepGoesOn) {
  SimResult r = RunSim("--seed 1", "wait 100\nclick 1\nwait 100\nclick 1000\nwait 10\n");
  EXPECT_EQ(r.TimeOf("show 102 0"), 100);
  EXPECT_EQ(r.With("picture 102").back().time, 200);
  // A hidden window takes no clicks.
  EXPECT_TRUE(r.Has("ignored click 1000"));
}

TEST(MainWindow, ExitEscapeAndCloseEndTheProgram) {
  for (const char* how : {"click 2", "key Escape", "close", "sysmenu 61536"}) {
    SimResult r = RunSim("--seed 1 --trace", std::string("wait 60\n") + how + "\nwait 1000\n");
    ASSERT_EQ(r.status, 0) << how;
    std::vector<std::string> events = r.Events();
    ASSERT_GE(events.size(), 5u);
    std::vector<std::string> tail(events.end() - 5, events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"timer 102 1 kill", "tray delete", "clip close",
                                              "close 102 2", "exit 0"}))
        << how << "\n" << r.Text();
    EXPECT_EQ(r.TimeOf("exit"), 60) << how;
  }
}

TEST(MainWindow, EnterRunsTheDefaultCommandUnlessAnotherButtonHasTheFocus) {
  TempProfile p("[Options]\nUseSounds=0\nMonitor=0\n");
  SimResult r = RunSim("--seed 1 --profile " + p.path(),
                       "key Enter\nwait 100\nclick 1\nwait 100\nkey Tab\nkey Enter\nwait 10\n");
  // Focus starts on the clip: Enter presses Scan. After the aborted scan, Tab moves the focus
  // to the next tab stop (Minimize), and Enter presses that instead.
  EXPECT_EQ(r.TimeOf("open 148"), 0);
  EXPECT_TRUE(r.Has("close 148 0"));
  EXPECT_FALSE(r.Has("open 149 \"Scan Results\""));
  EXPECT_TRUE(r.Has("show 102 0")) << r.Text();
}

TEST(MainWindow, MnemonicsPressButtons) {
  TempProfile p("[Options]\nUseSounds=0\nMonitor=0\n");
  SimResult r = RunSim("--seed 1 --profile " + p.path(), "key Alt+t\nwait 10\nkey Escape\n"
                                                          "wait 10\nkey x\nwait 10\n");
  EXPECT_TRUE(r.Has("open 169 \"Setup\"")) << r.Text();
  EXPECT_TRUE(r.Has("exit 0"));
}

TEST(MainWindow, ScriptErrorsNameTheLine) {
  SimResult r = RunSimUnchecked("", "wait 10\nfly away\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
  EXPECT_TRUE(r.lines.empty());
  EXPECT_EQ(RunSimUnchecked("", "wait ten\n").status, 2);
  EXPECT_EQ(RunSimUnchecked("--bogus", "").status, 2);
}

TEST(MainWindow, AHostileProfileGivesTheDefaults) {
  TempProfile p(std::string("\x00\xff[Options]\nMonitor=12abc\n\x01\x02", 24));
  SimResult r = RunSim("--seed 1 --trace --profile " + p.path(), "wait 30\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(r.Has("timer 102 1 set 25"));
}
