// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The soak's checker on hand-made transcripts: a sound run passes, and each kind of fault the
// soak hunts for is caught at its line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "res/ResourceIds.h"
#include "tools/soak/TranscriptChecker.h"

namespace {

constexpr int kCycle[22] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
const char* const kAlert =
    "msgbox \"Sensors Indicate Possible Activity!\\nPerform Full Scan?\" \"Quorblex Pro\" 0x34";

// A data folder with one cue, "beep.wav", 100 ms long; removed when the tests end.
class DataFolder {
 public:
  DataFolder() {
    char tmpl[] = "/tmp/quorblex-soaktest-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    std::ofstream wav(dir_ + "/beep.wav", std::ios::binary);
    auto le = [&](uint32_t v, int n) {
      for (int i = 0; i < n; ++i) wav.put(static_cast<char>(v >> (8 * i)));
    };
    wav << "RIFF";
    le(36 + 800, 4);
    wav << "WAVEfmt ";
    le(16, 4), le(1, 2), le(1, 2), le(8000, 4), le(8000, 4), le(1, 2), le(8, 2);
    wav << "data";
    le(800, 4);
    for (int i = 0; i < 800; ++i) wav.put(static_cast<char>(128));
  }
  ~DataFolder() { std::filesystem::remove_all(dir_); }
  const std::string& Dir() const { return dir_; }

 private:
  std::string dir_;
};

std::string DataDir() {
  static const DataFolder folder;
  return folder.Dir();
}

class Transcript {
 public:
  Transcript() {
    setup.dataDir = DataDir();
    Add(0, "start");
    Add(0, "open 102 \"Quorblex Pro\"");
    Add(0, "tray add \"Quorblex Pro\"");
    Add(0, "timer 102 1 set 25");
  }

  void Add(std::int64_t t, const std::string& event) {
    lines.push_back(std::to_string(t) + " " + event);
  }

  // The main window's next tick of the sweep at time t.
  void Tick(std::int64_t t) {
    const int before = step_ == 0 ? 0 : kCycle[(step_ - 1) % 22];
    const int after = kCycle[step_ % 22];
    ++step_;
    for (int k = 1; k <= 10; ++k) {
      if (k == before && k != after)
        Add(t, "picture 102 " + std::to_string(kLampIds[k - 1]) + " 146");
      if (k == after && k != before)
        Add(t, "picture 102 " + std::to_string(kLampIds[k - 1]) + " 147");
    }
  }

  // Ticks on the grid from `from` (a multiple of 25 after the timer was set at 0) to `to`.
  void Ticks(std::int64_t from, std::int64_t to) {
    for (std::int64_t t = from; t <= to; t += 25) Tick(t);
  }

  // The transcript ends at `end`, where its script does: a single wait, or the given script.
  void EndAt(std::int64_t end, std::vector<ScriptLine> script = {}) {
    setup.script = std::move(script);
    if (setup.script.empty()) setup.script.push_back({0, "wait " + std::to_string(end)});
    Add(end, "end");
  }

  // "" when every line passes, else the failure.
  std::string Check() {
    TranscriptChecker checker(setup);
    for (const std::string& l : lines) {
      if (!checker.Feed(l)) return checker.Failure();
    }
    if (!checker.Finish()) return checker.Failure();
    stats = checker.Stats();
    return "";
  }

  RunSetup setup;
  std::vector<std::string> lines;
  RunStats stats;

 private:
  int step_ = 0;
};

TEST(TranscriptChecker, AnOrdinaryRunPasses) {
  Transcript t;
  t.Add(0, "sound \"welcome.wav\" async missing");
  t.Ticks(25, 1000);
  t.EndAt(1000);
  EXPECT_EQ(t.Check(), "");
  EXPECT_EQ(t.stats.ticks, 40);
}

// Expects the transcript to fail with a message containing `what`.
void ExpectFailure(Transcript t, const std::string& what) {
  const std::string failure = t.Check();
  EXPECT_NE(failure.find(what), std::string::npos) << "failure: " << failure;
}

// One line of a made transcript: `event` at `t`, or without one the sweep's next tick.
struct Step {
  std::int64_t t;
  const char* event = nullptr;
};

// A transcript of `steps` in their order, ending at `end`.
Transcript Made(std::initializer_list<Step> steps, std::int64_t end) {
  Transcript made;
  for (const Step& step : steps) step.event ? made.Add(step.t, step.event) : made.Tick(step.t);
  made.EndAt(end);
  return made;
}

TEST(TranscriptChecker, TimeOnlyMovesOnAndTheRunEndsOnce) {
  Transcript back;
  back.Ticks(25, 50);
  back.Add(40, "show 102 1");
  ExpectFailure(back, "time went back");

  Transcript after;
  after.EndAt(100);
  after.Add(100, "show 102 1");
  ExpectFailure(after, "a line after the end");

  Transcript open;
  open.Ticks(25, 100);
  ExpectFailure(open, "without end or exit");

  Transcript early;
  early.EndAt(50);
  early.setup.script.back().command = "wait 1000";
  ExpectFailure(early, "ended before its script");

  Transcript endless;
  for (int i = 0; i < 100'001; ++i) endless.Add(10, "show 102 1");
  ExpectFailure(endless, "no longer lets time pass");
}

TEST(TranscriptChecker, TwoTicksAtOneMomentAreCaught) {
  ExpectFailure(Made({{25}, {50}, {50}}, 100), "did not move one step");
  ExpectFailure(Made({{25}, {50}, {50, "show 102 1"}, {50}}, 100),
                "two main-window ticks at one moment");
}

TEST(TranscriptChecker, TicksKeepToTheTimersGridUnlessACueHeldThemUp) {
  ExpectFailure(Made({{25}, {60}}, 100), "off the grid");
  ExpectFailure(Made({{25}, {75}}, 100), "came late with the program idle");
  // beep.wav plays 100 ms: the ticks due at 50 to 125 arrive as one when it ends.
  EXPECT_EQ(Made({{25}, {30, "sound \"beep.wav\" sync"}, {130}, {150}}, 150).Check(), "");
  // A missing cue holds the program for the default chime's 400 ms.
  EXPECT_EQ(Made({{20, "sound \"gone.wav\" sync missing"}, {420}, {425}, {450}}, 450).Check(), "");
  ExpectFailure(Made({{25}, {30, "timer 102 1 kill"}, {50}}, 100), "timer 1 not set");
  // Setting the timer again starts a new grid.
  EXPECT_EQ(Made({{25}, {30, "timer 102 1 set 25"}, {55}, {80}}, 100).Check(), "");
  ExpectFailure(Made({{25}, {30, "timer 102 1 set 25"}, {50}}, 100), "before its first period");
}

TEST(TranscriptChecker, TheMonitorChecksEvery2401stTickAgainstTheSensitivity) {
  const std::int64_t check = kTicksPerCheck * kMonitorPeriodMs;
  auto upToCheck = [&](Transcript& t) { t.Ticks(25, check); };

  // Sensitivity 1: the alert comes for a draw over 90.
  Transcript quiet;
  upToCheck(quiet);
  quiet.Add(check, "draw 100 90");
  quiet.EndAt(check + 10);
  EXPECT_EQ(quiet.Check(), "");

  Transcript alert;
  upToCheck(alert);
  alert.Add(check, "draw 100 91");
  alert.Add(check, "timer 102 1 kill");
  alert.Add(check, kAlert);
  alert.Add(check + 5, "close msgbox 7");
  alert.EndAt(check + 10);
  EXPECT_EQ(alert.Check(), "");
  EXPECT_EQ(alert.stats.alerts, 1);

  Transcript silent;
  upToCheck(silent);
  silent.Add(check, "draw 100 91");
  silent.EndAt(check + 10);
  ExpectFailure(silent, "missing: timer 102 1 kill");

  Transcript undrawn;
  upToCheck(undrawn);
  undrawn.EndAt(check + 10);
  ExpectFailure(undrawn, "did not draw");

  Transcript unearned;
  upToCheck(unearned);
  unearned.Add(check, "draw 100 50");
  unearned.Add(check, "timer 102 1 kill");
  unearned.Add(check, kAlert);
  unearned.EndAt(check + 10);
  ExpectFailure(unearned, "nobody drew");

  Transcript early;
  early.Tick(25);
  early.Add(25, "draw 100 3");
  early.EndAt(50);
  ExpectFailure(early, "off its 2401st tick");
}

TEST(TranscriptChecker, CuesFollowTheSoundsOptionTheDeviceAndTheFiles) {
  Transcript off;
  off.setup.working.value[0] = 0;
  off.Add(0, "sound \"welcome.wav\" async missing");
  off.EndAt(10);
  ExpectFailure(off, "sounds off");

  Transcript noDevice;
  noDevice.setup.soundDevice = false;
  noDevice.Add(0, "sound \"welcome.wav\" async failed");
  noDevice.EndAt(10);
  EXPECT_EQ(noDevice.Check(), "");
  Transcript played;
  played.setup.soundDevice = false;
  played.Add(0, "sound \"beep.wav\" async");
  played.EndAt(10);
  ExpectFailure(played, "against the device");

  ExpectFailure(Made({{0, "sound \"beep.wav\" async missing"}}, 10), "reported missing");
  ExpectFailure(Made({{0, "sound \"gone.wav\" async"}}, 10), "not reported missing");
}

TEST(TranscriptChecker, MonitoringOffMeansNoSweep) {
  Transcript t;
  t.setup.working.value[1] = 0;
  t.EndAt(10);
  ExpectFailure(t, "timer 1 set with monitoring off");
}

// The lamps sweep until 100, when Setup opens.
void SetupOpensAt100(Transcript& t) {
  t.Ticks(25, 100);
  t.Add(100, "timer 102 1 kill");
  t.Add(100, "open 169 \"Setup\"");
}

// Setup opens at 100 showing `shows`; the lines of its first look.
void OpenSetup(Transcript& t, const SoakOptions& shows) {
  t.setup.setupShows = shows;
  SetupOpensAt100(t);
  t.Add(100, "slider 169 1031 1");
  if (shows.value[7] != 1) t.Add(100, "slider 169 1031 " + std::to_string(shows.value[7]));
  const int ids[7] = {1024, 1030, 1025, 1026, 1027, 1028, 1029};
  for (int i = 0; i < 7; ++i) {
    if (shows.value[i]) t.Add(100, "check 169 " + std::to_string(ids[i]) + " 1");
  }
}

void Write(Transcript& t, std::int64_t at, const std::vector<int>& values) {
  for (int i = 0; i < 8; ++i) {
    t.Add(at, std::string("profile Options ") + SoakOptions::kKeys[i] + " " +
                  std::to_string(values[i]));
  }
}

// Setup's OK at `at`: its eight writes of `values`, then it closes.
void SaveAt(Transcript& t, std::int64_t at, const std::vector<int>& values) {
  Write(t, at, values);
  t.Add(at, "close 169 1");
}

TEST(TranscriptChecker, SetupShowsTheProfileAndSavesWhatItShows) {
  const SoakOptions shows{{1, 0, 1, 1, 0, 1, 1, 7}};
  auto userChanges = [](Transcript& t) {
    t.Add(200, "check 169 1030 1");
    t.Add(200, "slider 169 1031 3");
  };

  Transcript ok;
  OpenSetup(ok, shows);
  userChanges(ok);
  SaveAt(ok, 300, {1, 1, 1, 1, 0, 1, 1, 3});
  ok.Add(300, "timer 102 1 set 25");
  ok.Tick(325);
  ok.EndAt(330);
  EXPECT_EQ(ok.Check(), "");
  EXPECT_EQ(ok.stats.setupsSaved, 1);

  Transcript firstLook;
  OpenSetup(firstLook, shows);
  firstLook.lines.erase(
      std::find(firstLook.lines.begin(), firstLook.lines.end(), "100 check 169 1026 1"));
  firstLook.EndAt(300);
  ExpectFailure(firstLook, "expected check 169 1026 1");

  Transcript other;
  OpenSetup(other, shows);
  userChanges(other);
  SaveAt(other, 300, {1, 1, 1, 1, 1, 1, 1, 3});
  other.EndAt(330);
  ExpectFailure(other, "Setup wrote another Scan3");

  Transcript cancelled;
  OpenSetup(cancelled, shows);
  Write(cancelled, 300, {1, 0, 1, 1, 0, 1, 1, 7});
  cancelled.Add(300, "close 169 2");
  cancelled.EndAt(330);
  ExpectFailure(cancelled, "was cancelled");

  Transcript outside;
  outside.Add(10, "profile Options UseSounds 1");
  outside.EndAt(20);
  ExpectFailure(outside, "outside Setup");

  // Once saved, the main window works with the new options: sounds are off now.
  Transcript quiet;
  OpenSetup(quiet, shows);
  quiet.Add(200, "check 169 1024 0");
  SaveAt(quiet, 300, {0, 0, 1, 1, 0, 1, 1, 7});
  quiet.Add(400, "sound \"beep.wav\" async");
  quiet.EndAt(500);
  ExpectFailure(quiet, "sounds off");
}

TEST(TranscriptChecker, ASaveThatFailsSaysSoOnceAfterItsWritesAndChangesNothing) {
  const SoakOptions shows{{1, 1, 1, 1, 1, 1, 1, 10}};
  const std::string box =
      "msgbox \"Quorblex Pro could not save its settings to\\n/blocked/quorblex.ini:\\n"
      "Not a directory.\" \"Quorblex Pro\" 0x30";
  // The user switches sounds off and saves; the save fails, so sounds stay on.
  auto failedSave = [&](Transcript& t) {
    t.setup.profile = "/blocked/quorblex.ini";
    OpenSetup(t, shows);
    t.Add(200, "check 169 1024 0");
    Write(t, 300, {0, 1, 1, 1, 1, 1, 1, 10});
  };

  Transcript ok;
  failedSave(ok);
  ok.Add(300, box);
  ok.Add(400, "ignored click 1030");
  ok.Add(500, "close msgbox 1");
  ok.Add(500, "close 169 1");
  ok.Add(500, "timer 102 1 set 25");
  ok.Add(600, "sound \"beep.wav\" async");
  ok.EndAt(600, {{400, "click 1030"}, {500, "click 1"}, {600, "wait 0"}});
  EXPECT_EQ(ok.Check(), "");
  EXPECT_EQ(ok.stats.setupsUnsaved, 1);
  EXPECT_EQ(ok.stats.setupsSaved, 0);

  Transcript early;
  failedSave(early);
  early.lines.pop_back();
  early.Add(300, box);
  early.EndAt(400);
  ExpectFailure(early, "outside Setup's OK");

  Transcript elsewhere;
  failedSave(elsewhere);
  elsewhere.setup.profile = "/home/user/quorblex.ini";
  elsewhere.Add(300, box);
  elsewhere.EndAt(400);
  ExpectFailure(elsewhere, "does not name the profile");

  // The failed save with `more` lines after it, to `end`.
  auto failedSaveThen = [&](std::initializer_list<std::pair<std::int64_t, std::string>> more,
                            std::int64_t end) {
    Transcript t;
    failedSave(t);
    for (const auto& [at, event] : more) t.Add(at, event);
    t.EndAt(end);
    return t;
  };
  ExpectFailure(failedSaveThen({{300, box}, {300, box}}, 400), "said so twice");
  ExpectFailure(failedSaveThen({{300, box}, {500, "close msgbox 1"}}, 600), "close 169 1");
}

TEST(TranscriptChecker, ASweepTheIconRestartedUnderSetupStopsWhenSetupSwitchesMonitoringOff) {
  auto run = [](bool killed) {
    Transcript t;
    SetupOpensAt100(t);
    t.Add(200, "clip play 0 65535 1");
    t.Add(200, "timer 102 1 set 25");
    t.Tick(225);
    t.Tick(250);
    t.Add(260, "check 169 1024 1");
    Write(t, 260, {1, 0, 0, 0, 0, 0, 0, 0});
    t.Add(260, "close 169 1");
    if (killed) t.Add(260, "timer 102 1 kill");
    else t.Tick(275);
    t.EndAt(280);
    return t;
  };
  Transcript stopped = run(true);
  EXPECT_EQ(stopped.Check(), "");
  Transcript leftover = run(false);
  ExpectFailure(leftover, "the lamps sweep with monitoring off");

  // Without it, nothing may start the sweep again.
  Transcript restarted;
  SetupOpensAt100(restarted);
  SaveAt(restarted, 260, {0, 0, 0, 0, 0, 0, 0, 0});
  restarted.Add(260, "timer 102 1 set 25");
  restarted.EndAt(280);
  ExpectFailure(restarted, "timer 1 set with monitoring off");
}

TEST(TranscriptChecker, ScanMethodsFollowTheirSwitches) {
  auto scan = [](bool scan1, const char* status) {
    Transcript t;
    t.setup.working.value[2] = scan1 ? 1 : 0;
    t.Ticks(25, 100);
    t.Add(100, "timer 102 1 kill");
    t.Add(100, "open 148 \"Scanning...\"");
    t.Add(2100, "picture 148 1018 147");
    t.Add(2100, "picture 148 1008 147");
    t.Add(2100, std::string("text 148 1019 \"") + status + "\"");
    t.Add(2200, "close 148 0");
    t.EndAt(2300);
    return t;
  };
  Transcript skipped = scan(false, "Scanning...");
  EXPECT_EQ(skipped.Check(), "");
  Transcript ran = scan(true, "Scanning...");
  ExpectFailure(ran, "ran against its switch");
  Transcript mislabelled = scan(false, "Dialing psychic hotline...");
  ExpectFailure(mislabelled, "status says");
}

TEST(TranscriptChecker, WindowsNestAndOnlyExitEscOrCloseEndTheProgram) {
  auto ending = [](const std::string& command, int result, std::int64_t at = 100) {
    Transcript t;
    t.Ticks(25, 100);
    t.setup.script = {{0, "wait 100"}, {100, command}, {100, "wait 10"}};
    t.Add(at, "timer 102 1 kill");
    t.Add(at, "tray delete");
    t.Add(at, "close 102 " + std::to_string(result));
    t.Add(at, "exit 0");
    return t;
  };
  for (const char* how : {"click 2", "key Escape", "close", "sysmenu 61536", "key Alt+x"}) {
    Transcript t = ending(how, 2);
    EXPECT_EQ(t.Check(), "") << how;
    EXPECT_TRUE(t.stats.exited);
  }
  Transcript minimize = ending("click 1", 2);
  ExpectFailure(minimize, "without Exit, Esc or Close");
  Transcript ok = ending("click 2", 1);
  ExpectFailure(ok, "ended with 1");

  // Input given while a cue played is handled when it ends.
  Transcript queued;
  queued.setup.script = {{0, "wait 30"}, {30, "click 2"}, {30, "wait 100"}};
  queued.Tick(25);
  queued.Add(30, "timer 102 1 kill");
  queued.Add(30, "open 170 \"Abductee Scan\"");
  queued.Add(30, "close 170 0");
  queued.Add(30, "sound \"beep.wav\" sync");
  queued.Add(130, "close 102 2");
  queued.Add(130, "exit 0");
  EXPECT_EQ(queued.Check(), "");

  Transcript abrupt;
  abrupt.Add(10, "exit 0");
  ExpectFailure(abrupt, "main window open");

  Transcript crossed;
  crossed.Add(10, "open 148 \"Scanning...\"");
  crossed.Add(10, "msgbox \"Cannot find the help page.\" \"Help\" 0x10");
  crossed.Add(20, "close 148 0");
  ExpectFailure(crossed, "148 closed but msgbox is active");
}

TEST(TranscriptChecker, IgnoredInputMustHaveBeenGivenThen) {
  auto ignored = [](std::int64_t at) {
    Transcript t;
    t.Ticks(25, 50);
    t.Add(at, "ignored click 4242");
    t.Ticks(75, 100);
    t.EndAt(100, {{0, "wait 50"}, {50, "click 4242"}, {50, "wait 50"}});
    return t;
  };
  Transcript given = ignored(50);
  EXPECT_EQ(given.Check(), "");
  Transcript invented = ignored(60);
  ExpectFailure(invented, "ignored input nobody gave");
}

TEST(TranscriptChecker, TheIconAndHidingMatchTheDesktop) {
  Transcript noArea;
  noArea.setup.tray = false;
  noArea.lines[2] = "0 tray add failed";
  noArea.Add(10, "show 102 min");
  noArea.EndAt(20);
  EXPECT_EQ(noArea.Check(), "");
  noArea.lines.insert(noArea.lines.end() - 1, "10 show 102 0");
  ExpectFailure(noArea, "no icon to bring it back");

  Transcript area;
  area.Add(10, "show 102 min");
  area.EndAt(20);
  ExpectFailure(area, "minimized though the icon is there");

  Transcript claimed;
  claimed.setup.tray = false;
  claimed.EndAt(20);
  ExpectFailure(claimed, "icon's fate");
}

}  // namespace
