// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The notification icon and the background monitor, as a user meets them through the simulator:
// which mouse events on the icon bring the window back, when the monitor takes its reading, when
// the alert comes and what its answers do, and how a window without an icon stays reachable.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/MonitorReading.h"
#include "tests/support/SimRun.h"

namespace {
const std::string kAlert =
    "msgbox \"Sensors Indicate Possible Activity!\\nPerform Full Scan?\" \"Quorblex Pro\" 0x34";

std::string Options(const std::string& extra) { return "[Options]\nUseSounds=0\n" + extra; }

std::string SeedArgs(std::uint32_t seed) { return "--seed " + std::to_string(seed) + " --trace "; }

std::vector<std::int64_t> TimesOf(const SimResult& r, const std::string& prefix) {
  std::vector<std::int64_t> out;
  for (const auto& l : r.With(prefix)) out.push_back(l.time);
  return out;
}

// Lamp-bar pictures of the main window shown in the open interval (from, to).
size_t SweepBetween(const SimResult& r, std::int64_t from, std::int64_t to) {
  size_t n = 0;
  for (const auto& l : r.With("picture 102 "))
    if (l.time > from && l.time < to) ++n;
  return n;
}

// The events at one moment, in order.
std::vector<std::string> EventsAt(const SimResult& r, std::int64_t time,
                                  const std::string& skip = "picture") {
  std::vector<std::string> out;
  for (const auto& l : r.lines)
    if (l.time == time && l.event.rfind(skip, 0) != 0) out.push_back(l.event);
  return out;
}
}  // namespace

TEST(TrayMonitor, TheFirstReadingComesOnThe2401stTickAndAlertsAtHighSensitivity) {
  TempProfile p(Options("Sensitivity=10\n"));
  for (int reading : {0, 1, 50, 99}) {
    std::uint32_t seed = SeedReading(reading);
    SimResult r = RunSim(SeedArgs(seed) + "--profile " + p.path(),
                         "wait " + std::to_string(kCheck) + "\nclick 7\nwait 100\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::string draw = "draw 100 " + std::to_string(reading);
    EXPECT_EQ(r.Events("draw"), std::vector<std::string>{draw}) << "seed " << seed;
    EXPECT_EQ(r.TimeOf("draw"), kCheck);
    // The 2400th tick came and went without a reading.
    EXPECT_GT(SweepBetween(r, kCheck - 26, kCheck), 0u);
    if (reading == 0) {
      EXPECT_EQ(r.TimeOf("msgbox"), -1) << r.Text();
      EXPECT_TRUE(r.Has("ignored click 7"));
      continue;
    }
    // The timer stops before the alert opens, so no second alert can follow the first.
    EXPECT_EQ(EventsAt(r, kCheck),
              (std::vector<std::string>{draw, "timer 102 1 kill", kAlert, "close msgbox 7",
                                        "timer 102 1 set 25"}))
        << r.Text();
  }
}

TEST(TrayMonitor, SensitivityDecidesWhichReadingsAlert) {
  // The readings on either side of each sensitivity's threshold, and the ends of the ranges.
  struct Case {
    int sensitivity;
    std::vector<int> quiet, alerting;
  };
  const std::vector<Case> cases = {
      {1, {0, 1, 50, 90}, {91, 99}},
      {5, {50}, {51}},
      {10, {0}, {1, 99}},
      {0, {0, 99}, {}},
      {11, {}, {0, 99}},
      // Any int a hand-edited profile holds: the threshold must not wrap round.
      {2147483647, {}, {0}},
      {-2147483648, {99}, {}},
  };
  for (const Case& c : cases) {
    TempProfile p(Options("Sensitivity=" + std::to_string(c.sensitivity) + "\n"));
    for (bool alerts : {false, true}) {
      for (int reading : alerts ? c.alerting : c.quiet) {
        SimResult r = RunSim(SeedArgs(SeedReading(reading)) + "--profile " + p.path(),
                             "wait " + std::to_string(kCheck) + "\nclick 7\n");
        ASSERT_TRUE(r.Has("draw 100 " + std::to_string(reading))) << r.Text();
        EXPECT_EQ(r.Has(kAlert), alerts)
            << "sensitivity " << c.sensitivity << ", reading " << reading;
      }
    }
  }
}

TEST(TrayMonitor, TheAlertWaitsForAnAnswerAndNoRestartsTheMonitor) {
  TempProfile p(Options("Sensitivity=10\n"));
  const std::int64_t answer = kCheck + 5000;
  SimResult r = RunSim(SeedArgs(SeedReading(99)) + "--profile " + p.path(),
                       "wait " + std::to_string(kCheck + 1000) +
                           "\nkey Escape\nclose\nwait 4000\nkey n\nwait " +
                           std::to_string(kCheck + 200) + "\nclick 7\nwait 100\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // Esc and the close box do not answer it; the lamps stand still while it waits.
  EXPECT_TRUE(r.Has("ignored close"));
  EXPECT_EQ(r.TimeOf("close msgbox"), answer) << r.Text();
  EXPECT_TRUE(r.Has("close msgbox 7"));
  EXPECT_EQ(SweepBetween(r, kCheck, answer + 25), 0u);
  EXPECT_EQ(EventsAt(r, answer, "draw"),
            (std::vector<std::string>{"close msgbox 7", "timer 102 1 set 25"}));
  // No scan, and the next reading comes 2401 ticks after the answer.
  EXPECT_EQ(r.TimeOf("open 148"), -1);
  EXPECT_EQ(TimesOf(r, "draw"), (std::vector<std::int64_t>{kCheck, answer + kCheck}));
}

TEST(TrayMonitor, YesRunsTheFullScanAndLeavesTheWindowAsItWas) {
  TempProfile p(Options("Sensitivity=10\n"));
  for (bool hidden : {false, true}) {
    std::string script = hidden ? "wait 100\nclick 1\n" : "";
    script += "wait " + std::to_string(kCheck - (hidden ? 100 : 0)) + "\nkey Enter\n";
    // The progress show takes 12 s with sounds off; then the results wait for OK.
    script += "wait 14000\nclick 1\nwait 1000\n";
    SimResult r = RunSim(SeedArgs(SeedReading(99)) + "--profile " + p.path(), script);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.TimeOf(kAlert), kCheck) << "hidden " << hidden << "\n" << r.Text();
    EXPECT_TRUE(r.Has("close msgbox 6"));
    EXPECT_EQ(r.TimeOf("open 148"), kCheck);
    EXPECT_TRUE(r.Has("close 148 1"));
    std::int64_t done = r.TimeOf("close 149 1");
    ASSERT_EQ(done, kCheck + 14000) << r.Text();
    // The monitor runs again after the scan, and the window was neither shown nor hidden.
    EXPECT_EQ(EventsAt(r, done), (std::vector<std::string>{"close 149 1", "timer 102 1 set 25"}));
    EXPECT_GT(SweepBetween(r, done, done + 1000), 0u);
    EXPECT_EQ(r.Events("show 102"),
              hidden ? std::vector<std::string>{"show 102 0"} : std::vector<std::string>{});
  }
}

TEST(TrayMonitor, WithTheMonitorOffNothingIsReadAndTheIconStillRestores) {
  TempProfile p(Options("Monitor=0\nSensitivity=11\n"));
  SimResult r = RunSim(SeedArgs(SeedReading(0)) + "--profile " + p.path(),
                       "wait 100\nclick 1\nwait 100\ntray lbuttondown\nwait 125000\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.Has("tray add \"Quorblex Pro\""));
  EXPECT_TRUE(r.With("draw").empty()) << r.Text();
  EXPECT_TRUE(r.With("msgbox").empty());
  EXPECT_TRUE(r.With("timer").empty());
  EXPECT_EQ(EventsAt(r, 200), (std::vector<std::string>{"show 102 1", "clip play 0 65535 1"}));
}

TEST(TrayMonitor, TheWindowComesBackOnALeftPressOrARightRelease) {
  // Hide, then let the events come one by one.
  SimResult r = RunSim("--seed 1 --trace",
                       "wait 100\nclick 1\n"
                       "wait 10\ntray mousemove\nwait 10\ntray lbuttonup\n"
                       "wait 10\ntray lbuttondblclk\nwait 10\ntray rbuttondown\n"
                       "wait 10\ntray rbuttonup\n"    // 150: back
                       "wait 50\nclick 1\n"           // 200: hidden again
                       "wait 10\ntray lbuttondown\n"  // 210: back at the press
                       "wait 10\ntray lbuttonup\nwait 100\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> restore = {"show 102 1", "clip play 0 65535 1",
                                            "timer 102 1 set 25"};
  EXPECT_EQ(TimesOf(r, "show 102"), (std::vector<std::int64_t>{100, 150, 200, 210})) << r.Text();
  EXPECT_EQ(EventsAt(r, 150), restore);
  EXPECT_EQ(EventsAt(r, 210), restore);
  // Nothing else replays the clip or touches the timer.
  EXPECT_EQ(TimesOf(r, "clip play"), (std::vector<std::int64_t>{0, 150, 210}));
  EXPECT_EQ(TimesOf(r, "timer 102 1 set"), (std::vector<std::int64_t>{0, 150, 210}));
  // A restore restarts the timer's grid: the next tick is 25 ms after the press.
  EXPECT_EQ(SweepBetween(r, 210, 235), 0u);
  EXPECT_GT(SweepBetween(r, 234, 236), 0u);
}

TEST(TrayMonitor, ARestoreWhileTheWindowIsShownReplaysTheClipAndRestartsTheTimer) {
  SimResult r = RunSim("--seed 1 --trace", "wait 110\ntray rbuttonup\nwait 50\n");
  EXPECT_EQ(EventsAt(r, 110),
            (std::vector<std::string>{"clip play 0 65535 1", "timer 102 1 set 25"}))
      << r.Text();
  EXPECT_TRUE(r.With("show").empty());
}

TEST(TrayMonitor, AnIconClickUnderAnOpenDialogRestartsTheMonitorUnderneath) {
  TempProfile p(Options("Sensitivity=10\n"));
  // Under the About box opened by its button, and under the alert itself.
  for (const std::string& opener :
       {std::string("wait 100\nclick 1001\n"), "wait " + std::to_string(kCheck) + "\n"}) {
    SimResult r = RunSim(SeedArgs(SeedReading(99)) + "--profile " + p.path(),
                         opener + "wait 1000\ntray lbuttondown\nwait 1000\n");
    ASSERT_EQ(r.status, 0) << r.err;
    std::int64_t opened =
        r.TimeOf(opener.find("1001") != std::string::npos ? "open 100" : "msgbox");
    ASSERT_GT(opened, 0) << r.Text();
    std::int64_t click = opened + 1000;
    EXPECT_EQ(SweepBetween(r, opened, click + 1), 0u) << r.Text();
    EXPECT_EQ(EventsAt(r, click),
              (std::vector<std::string>{"clip play 0 65535 1", "timer 102 1 set 25"}));
    // The lamps sweep behind the box, which is still open.
    EXPECT_GT(SweepBetween(r, click, click + 1000), 30u);
    EXPECT_TRUE(r.With("close").empty());
  }
}

TEST(TrayMonitor, PausesAndRestartsDoNotResetTheCountToTheNextReading) {
  TempProfile p(Options("Sensitivity=0\n"));
  // The About box from 30 s to 40 s: 1200 ticks before, 1201 after.
  SimResult about = RunSim(SeedArgs(1) + "--profile " + p.path(),
                           "wait 30000\nclick 1001\nwait 10000\nkey Escape\nwait 40000\n");
  EXPECT_EQ(TimesOf(about, "draw"), (std::vector<std::int64_t>{40000 + 1201 * 25}));
  // A restore at 10010 restarts the grid after 400 ticks; 2001 remain.
  SimResult tray =
      RunSim(SeedArgs(1) + "--profile " + p.path(), "wait 10010\ntray lbuttondown\nwait 60000\n");
  EXPECT_EQ(TimesOf(tray, "draw"), (std::vector<std::int64_t>{10010 + 2001 * 25}));
}

TEST(TrayMonitor, TheIconStaysForTheWholeRunAndGoesWhenTheProgramEnds) {
  for (const char* monitor : {"1", "0"}) {
    TempProfile p(Options(std::string("Monitor=") + monitor + "\n"));
    for (const char* how : {"click 2", "key Escape", "close", "sysmenu 61536"}) {
      SimResult r =
          RunSim("--seed 1 --trace --profile " + p.path(),
                 std::string("wait 100\nclick 1\nwait 100\ntray lbuttondown\nwait 100\n") + how +
                     "\nwait 100\n");
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(r.Events("tray"),
                (std::vector<std::string>{"tray add \"Quorblex Pro\"", "tray delete"}))
          << how;
      EXPECT_EQ(r.TimeOf("tray delete"), 300) << how;
      EXPECT_EQ(EventsAt(r, 300).back(), "exit 0") << how << "\n" << r.Text();
    }
  }
}

TEST(TrayMonitor, WithoutANotificationAreaMinimizeLeavesTheWindowOnTheTaskBar) {
  TempProfile p(Options("Sensitivity=10\n"));
  SimResult r = RunSim(SeedArgs(SeedReading(99)) + "--no-tray --profile " + p.path(),
                       "wait 100\nclick 1\nwait 100\nclick 1000\ntray lbuttondown\n"
                       "wait 100\ntaskbar\nwait 100\nclick 1\n"
                       "wait " +
                           std::to_string(kCheck - 400) +
                           "\nkey n\n"
                           "wait 100\ntaskbar\ntaskbar\nwait 100\nclick 2\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.Events("tray"), (std::vector<std::string>{"tray add failed"})) << r.Text();
  // Minimized rather than hidden; it takes no clicks, and there is no icon to click.
  EXPECT_EQ(r.TimeOf("show 102 min"), 100);
  EXPECT_TRUE(r.Has("ignored click 1000"));
  EXPECT_TRUE(r.Has("ignored tray lbuttondown"));
  // The task-bar entry brings it back; a second click on a shown window does nothing.
  EXPECT_EQ(r.Events("show 102"),
            (std::vector<std::string>{"show 102 min", "show 102 1", "show 102 min", "show 102 1"}));
  EXPECT_EQ(TimesOf(r, "show 102 1"), (std::vector<std::int64_t>{300, kCheck + 100}));
  EXPECT_TRUE(r.Has("ignored taskbar"));
  // The monitor keeps reading while the window is on the task bar, and its alert can be answered.
  EXPECT_EQ(r.TimeOf(kAlert), kCheck);
  EXPECT_TRUE(r.Has("close msgbox 7"));
  EXPECT_TRUE(r.Has("exit 0"));
}

TEST(TrayMonitor, WithANotificationAreaMinimizeHidesAndTheTaskBarCannotRestore) {
  SimResult r = RunSim("--seed 1", "wait 100\nclick 1\nwait 100\ntaskbar\nwait 10\n");
  EXPECT_EQ(r.Events("show 102"), (std::vector<std::string>{"show 102 0"})) << r.Text();
  EXPECT_TRUE(r.Has("ignored taskbar"));
}

// The icon may restart the sweep under an open Setup dialog; if Setup then switches monitoring
// off, the sweep stops with it rather than running (and alerting) for the rest of the run.
TEST(TrayMonitor, MonitoringSwitchedOffInSetupStopsASweepTheIconRestarted) {
  SimResult r = RunSim("--seed 1 --trace", "wait 100\nclick 1002\nwait 100\ntray lbuttondown\n"
                                           "wait 100\nclick 1030\nclick 1\nwait 1000\n");
  ASSERT_EQ(r.TimeOf("close 169 1"), 300) << r.Text();
  EXPECT_EQ(r.With("timer 102 1").back().event, "timer 102 1 kill");
  EXPECT_EQ(r.With("timer 102 1").back().time, 300);
  EXPECT_LE(r.With("picture 102").back().time, 300);
}
