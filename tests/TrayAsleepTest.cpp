// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Asleep in the notification area: while every window is hidden the program wakes only for the
// monitor's readings and for input, and makes up the lamp ticks in between when it wakes. Each
// scenario runs twice through the simulator, once so and once making every tick as it falls
// due (--every-tick), and everything a user could tell apart must be the same: the lamps at
// each restore, the alerts and their times, the draws, the profile writes, and in the end every
// line of the transcript.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/ResourceIds.h"
#include "tests/support/MonitorReading.h"
#include "tests/support/SimRun.h"

namespace {
std::string At(std::int64_t t) { return std::to_string(t); }

// What a user could tell of a run, and the whole transcript but the wake lines.
struct Observed {
  std::vector<std::string> restores;  // the lamps lit each time the main window came back
  std::vector<std::string> alerts, draws, profile, transcript;
};

Observed Observe(const SimResult& r) {
  std::map<std::string, bool> lit;
  Observed o;
  for (const SimLine& l : r.lines) {
    const std::string line = At(l.time) + " " + l.event;
    if (l.event == "wake") continue;
    o.transcript.push_back(line);
    if (l.event.rfind("picture 102 ", 0) == 0)
      lit[l.event.substr(12, 4)] = l.event.substr(17) == "147";
    if (l.event == "show 102 1") {
      std::string lamps = At(l.time) + " lit:";
      for (const auto& [id, on] : lit)
        if (on) lamps += " " + id;
      o.restores.push_back(lamps);
    }
    if (l.event.rfind("msgbox", 0) == 0 || l.event.rfind("close msgbox", 0) == 0)
      o.alerts.push_back(line);
    if (l.event.rfind("draw", 0) == 0) o.draws.push_back(line);
    if (l.event.rfind("profile", 0) == 0) o.profile.push_back(line);
  }
  return o;
}

// Wake-ups while nothing of the program showed: the main window hidden and no other window
// open, each stretch counted up to (not including) the moment that ended it.
struct Asleep {
  std::int64_t ms = 0;
  int wakes = 0;
  int ticks = 0;  // ticks that moved the lamps
  int stretches = 0;
};

Asleep WakesWhileHidden(const SimResult& r) {
  Asleep a;
  bool mainShown = true;
  std::multiset<std::string> open;  // one entry per window, so nested alerts count twice
  std::int64_t since = -1, lastTick = -1;
  for (const SimLine& l : r.lines) {
    const bool hiddenBefore = !mainShown && open.empty();
    if (l.event == "wake") {
      if (hiddenBefore && l.time > since) ++a.wakes;
      continue;
    }
    if (hiddenBefore && l.event.rfind("picture 102 ", 0) == 0 && l.time != lastTick) {
      ++a.ticks;
      lastTick = l.time;
    }
    if (l.event.rfind("show 102 ", 0) == 0) mainShown = l.event != "show 102 0";
    if (l.event.rfind("open ", 0) == 0 && l.event.rfind("open 102 ", 0) != 0)
      open.insert(l.event.substr(5, 3));
    if (l.event.rfind("msgbox", 0) == 0) open.insert("msgbox");
    if (l.event.rfind("close ", 0) == 0) {
      auto it = open.find(l.event.substr(6, l.event.find(' ', 6) - 6));
      if (it != open.end()) open.erase(it);
    }
    const bool hiddenAfter = !mainShown && open.empty();
    if (!hiddenBefore && hiddenAfter) {
      since = l.time;
      ++a.stretches;
    }
    if (hiddenBefore && !hiddenAfter) a.ms += l.time - since;
  }
  return a;
}

struct Scenario {
  const char* name;
  std::string profile;
  std::uint32_t seed;
  std::string script;
};

std::vector<Scenario> Scenarios() {
  const std::string quiet = "[Options]\nUseSounds=0\n";
  const std::uint32_t alerting = SeedReading(99);
  return {
      {"hidden for minutes, restored at odd moments; Setup writes the profile first",
       quiet + "Sensitivity=0\n", 1,
       "wait 40\nclick 1002\nwait 500\nslide " + At(IDC_SENSITIVITY) +
           " 1\nclick 1\nwait 60\nclick 1\n"
           "wait 187513\ntray lbuttondown\nwait 3000\nclick 1\nwait 65432\ntray rbuttonup\n"
           "wait 777\nkey Alt+m\nwait 130017\ntray lbuttondown\nwait 500\n"},
      {"the alert comes while hidden and is declined; the next reading keeps its place",
       quiet + "Sensitivity=10\n", alerting,
       "wait 100\nclick 1\nwait " + At(kCheck - 100 + 4321) + "\nkey n\nwait " + At(kCheck + 999) +
           "\nkey n\nwait 12345\ntray lbuttondown\nwait 300\n"},
      {"a scan started from the alert while hidden, then hidden on to the next reading",
       quiet + "Sensitivity=10\n", alerting,
       "wait 100\nclick 1\nwait " + At(kCheck - 100) + "\nkey Enter\nwait 14000\nclick 1\nwait " +
           At(kCheck + 20000) +
           "\nkey y\nwait 14000\nclick 1\nwait 1234\ntray lbuttondown\nwait 100\n"},
      {"the icon under the alert shows the window, and the next alert nests under the first",
       quiet + "Sensitivity=10\n", alerting,
       "wait 100\nclick 1\nwait " + At(kCheck - 100 + 1000) + "\ntray lbuttondown\nwait " +
           At(kCheck + 500) +
           "\nkey n\nwait 200\nkey n\nwait 300\nclick 1\nwait 45678\n"
           "tray lbuttondown\nwait 100\n"},
      {"sounds on, the icon clicked while About is open, and hidden with monitoring off",
       "[Options]\nUseSounds=1\n", 7,
       "wait 3000\nclick 1001\nwait 100\ntray lbuttondown\nwait 100\nkey Escape\nwait 50\n"
       "click 1\nwait 33333\ntray rbuttonup\nwait 100\nclick 1002\nwait 100\nclick 1030\nclick 1\n"
       "wait 100\nclick 1\nwait 20000\ntray lbuttondown\nwait 100\n"},
  };
}
}  // namespace

TEST(TrayAsleep, SleepingThroughTheLampTicksChangesNothingAUserCouldTell) {
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.name);
    TempProfile asleepProfile(s.profile), everyProfile(s.profile);
    const std::string args = "--seed " + std::to_string(s.seed) + " --trace --trace-wakes ";
    SimResult asleep = RunSim(args + "--profile " + asleepProfile.path(), s.script);
    SimResult every = RunSim(args + "--every-tick --profile " + everyProfile.path(), s.script);
    const Observed a = Observe(asleep), e = Observe(every);
    ASSERT_FALSE(e.restores.empty()) << every.Text();
    EXPECT_EQ(a.restores, e.restores);
    EXPECT_EQ(a.alerts, e.alerts);
    EXPECT_EQ(a.draws, e.draws);
    EXPECT_EQ(a.profile, e.profile);
    EXPECT_EQ(a.transcript, e.transcript);
    EXPECT_EQ(asleepProfile.Read(), everyProfile.Read());

    // Every tick woke the reference run; asleep, it woke for the readings, for the first tick
    // after the timer was set again, and for the input that ended a stretch.
    const Asleep sa = WakesWhileHidden(asleep), se = WakesWhileHidden(every);
    ASSERT_GT(sa.ms, 20000) << asleep.Text();
    EXPECT_EQ(sa.ms, se.ms);
    EXPECT_EQ(sa.ticks, se.ticks);
    EXPECT_GT(se.ticks, 500);
    EXPECT_GE(se.wakes, se.ticks);
    EXPECT_LE(sa.wakes, sa.ms / kCheck + 2 * sa.stretches) << "in " << sa.ms << " ms";
  }
}

TEST(TrayAsleep, TheAlertStillComesOnThe2401stTickAndTheLampsAreWhereTheSweepPutThem) {
  TempProfile p("[Options]\nUseSounds=0\nSensitivity=10\n");
  // Hidden before the first tick, so that the program sleeps through the whole first minute.
  SimResult r = RunSim("--seed " + std::to_string(SeedReading(50)) + " --trace --trace-wakes " +
                           "--profile " + p.path(),
                       "click 1\nwait " + At(kCheck + 1000) + "\ntray lbuttondown\nwait 10\n");
  std::vector<std::int64_t> wakes;
  for (const SimLine& l : r.With("wake"))
    if (l.time > 0 && l.time < kCheck + 1000) wakes.push_back(l.time);
  // The first tick after the timer was set, then the reading.
  EXPECT_EQ(wakes, (std::vector<std::int64_t>{25, kCheck})) << r.Text();
  EXPECT_EQ(r.TimeOf("msgbox"), kCheck);
  // The alert stopped the sweep on its 2401st tick, the 3rd of a cycle of 22 (1..10, dark,
  // 10..1, dark), and the icon brings the window back showing lamp 3.
  const Observed o = Observe(r);
  ASSERT_EQ(o.restores.size(), 1u);
  EXPECT_EQ(o.restores[0], At(kCheck + 1000) + " lit: " + std::to_string(kLampIds[2]));
}
