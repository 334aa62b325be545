// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// The Settings button and the Setup dialog, driven through quorblex-sim as a user would: what
// the dialog shows for a given profile, what OK and Cancel leave in the file, and how the main
// window behaves afterwards (its lamp sweep and its once-a-minute monitoring check).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "common/IniText.h"
#include "common/NativePath.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/SimRun.h"
#include "tests/support/SmallDisk.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// The eight options in the order the program writes them.
using Options = std::array<int, 8>;
const char* const kOptionKeys[] = {"UseSounds", "Monitor", "Scan1", "Scan2",
                                   "Scan3",     "Scan4",   "Scan5", "Sensitivity"};
// The checkbox of each switch, in the same order.
const int kBoxes[] = {1024, 1030, 1025, 1026, 1027, 1028, 1029};
constexpr Options kAllOnHigh = {1, 1, 1, 1, 1, 1, 1, 10};

const char* const kAlert = "msgbox \"Sensors Indicate Possible Activity!\\nPerform Full Scan?\"";
bool Alerted(const SimResult& r) { return r.TimeOf(kAlert) >= 0; }

// Timer 1 ticks every 25 ms and the check runs on its 2401st tick.
constexpr std::int64_t kCheckDelay = 2401 * 25;

std::vector<std::string> Writes(const Options& o) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < o.size(); ++i) {
    lines.push_back("profile Options " + std::string(kOptionKeys[i]) + " " +
                    std::to_string(o[i]));
  }
  return lines;
}

std::string Describe(const Options& o) {
  std::string s;
  for (size_t i = 0; i < o.size(); ++i)
    s += std::string(kOptionKeys[i]) + "=" + std::to_string(o[i]) + " ";
  return s;
}

// The lines between the n-th Setup dialog's opening (counting from 0) and its closing.
std::vector<SimLine> DialogSpan(const SimResult& r, int n) {
  std::vector<SimLine> span;
  int seen = -1;
  for (const SimLine& l : r.lines) {
    if (seen < n && l.event.rfind("open 169 ", 0) == 0) {
      ++seen;
      continue;
    }
    if (seen != n) continue;
    if (l.event.rfind("close 169 ", 0) == 0) break;
    span.push_back(l);
  }
  return span;
}

// What the n-th Setup dialog showed as it opened (atClose false) or as it closed, read as the
// eight options: each box's last check line (unticked when there is none) and the trackbar's
// last position. Input is scripted after a wait, so the opening lines come first in time.
Options ViewOf(const SimResult& r, int n, bool atClose) {
  const std::vector<SimLine> span = DialogSpan(r, n);
  std::map<int, int> boxes;
  int slider = 0;
  for (const SimLine& l : span) {
    if (!atClose && l.time > span.front().time) break;
    int id = 0, value = 0;
    if (std::sscanf(l.event.c_str(), "check 169 %d %d", &id, &value) == 2) boxes[id] = value;
    if (std::sscanf(l.event.c_str(), "slider 169 1031 %d", &value) == 1) slider = value;
  }
  Options o{};
  for (size_t i = 0; i < 7; ++i) o[i] = boxes[kBoxes[i]];
  o[7] = slider;
  return o;
}

std::vector<std::string> WritesOf(const SimResult& r, int n) {
  std::vector<std::string> lines;
  for (const SimLine& l : DialogSpan(r, n)) {
    if (l.event.rfind("profile ", 0) == 0) lines.push_back(l.event);
  }
  return lines;
}

// The program on profile `p` (after `args`), with Setup open for `script`.
SimResult InSetup(const TempProfile& p, const std::string& script, const std::string& args = "") {
  return RunSim(args + "--profile " + p.path(), "click 1002\nwait 10\n" + script);
}

// The run went well and its first Setup dialog closed on `o` and wrote exactly that.
void ExpectSavedAsShown(const SimResult& r, const Options& o) {
  ASSERT_EQ(r.status, 0) << r.Text();
  EXPECT_EQ(ViewOf(r, 0, true), o) << r.Text();
  EXPECT_EQ(WritesOf(r, 0), Writes(o));
}

std::int64_t CloseTime(const SimResult& r, int n) {
  int seen = -1;
  for (const SimLine& l : r.lines) {
    if (l.event.rfind("close 169 ", 0) == 0 && ++seen == n) return l.time;
  }
  return -1;
}

// The program's random draw, which the simulator seeds once at start-up. No other draw comes
// before the first monitoring check, so its value is the first of the sequence.
int FirstDraw(unsigned seed) {
  const std::uint32_t state = seed * 214013u + 2531011u;
  return static_cast<int>(((state >> 16) & 0x7FFF) * 100 / 32768);
}

unsigned SeedWithFirstDraw(int lo, int hi) {
  unsigned seed = 1;
  while (FirstDraw(seed) < lo || FirstDraw(seed) > hi) ++seed;
  return seed;
}

// A draw that alerts at Sensitivity 10 but not at 1; the extremes 0 and 99.
const unsigned kSeedMiddle = SeedWithFirstDraw(40, 60);
const unsigned kSeedZero = SeedWithFirstDraw(0, 0);
const unsigned kSeedTop = SeedWithFirstDraw(99, 99);

std::string Args(unsigned seed, const std::string& profile) {
  return "--seed " + std::to_string(seed) + " --trace --profile " + profile;
}

// The first monitoring check of the run must come at `at` and must draw the seed's first value;
// it raises the alert exactly when the draw beats the threshold of `sensitivity`.
void ExpectCheckWorksWith(const SimResult& r, unsigned seed, std::int64_t at, int sensitivity) {
  const std::vector<SimLine> draws = r.With("draw 100 ");
  ASSERT_FALSE(draws.empty()) << r.Text();
  ASSERT_EQ(draws.front().time, at);
  const int draw = std::stoi(draws.front().event.substr(9));
  ASSERT_EQ(draw, FirstDraw(seed));
  const bool alerts = draw > 100 - std::int64_t{10} * sensitivity;
  EXPECT_EQ(r.TimeOf(kAlert) == at, alerts)
      << "draw " << draw << " with Sensitivity " << sensitivity;
  EXPECT_EQ(Alerted(r), alerts);
}

TEST(SetupDialog, FreshSystemShowsEverythingOnAndOkStoresTheTrackbarsTen) {
  TempProfile p;
  // Before any Setup the main window works with Sensitivity 1: the middle draw stays silent.
  SimResult before = RunSim(Args(kSeedMiddle, p.path()), "wait 60100\n");
  ExpectCheckWorksWith(before, kSeedMiddle, kCheckDelay, 1);

  SimResult r = RunSim(Args(kSeedMiddle, p.path()), "click 1002\nwait 100\nclick 1\nwait 60100\n");
  ASSERT_EQ(r.status, 0) << r.Text();
  EXPECT_EQ(ViewOf(r, 0, false), kAllOnHigh) << r.Text();
  EXPECT_EQ(WritesOf(r, 0), Writes(kAllOnHigh));
  EXPECT_TRUE(r.Has("close 169 1"));
  EXPECT_EQ(p.Read(),
            "[Options]\nUseSounds=1\nMonitor=1\nScan1=1\nScan2=1\nScan3=1\nScan4=1\nScan5=1\n"
            "Sensitivity=10\n");
  // The monitor was paused for the dialog and starts afresh when it closes, now with 10.
  EXPECT_EQ(r.TimeOf("timer 102 1 kill"), 0);
  EXPECT_EQ(r.With("timer 102 1 set 25").back().time, 100);
  ExpectCheckWorksWith(r, kSeedMiddle, 100 + kCheckDelay, 10);
}

TEST(SetupDialog, CancelEscAndTheCloseBoxWriteNothing) {
  TempProfile p;
  SimResult r = RunSim(Args(kSeedMiddle, p.path()),
                       "click 1002\nwait 10\nclick 1025\nslide 1031 3\nclick 2\n"
                       "click 1002\nwait 10\nkey Space\nkey Escape\n"
                       "click 1002\nwait 10\nclick 1030\nclose\nwait 60100\n");
  ASSERT_EQ(r.status, 0) << r.Text();
  EXPECT_EQ(r.Events("close 169"),
            (std::vector<std::string>{"close 169 2", "close 169 2", "close 169 2"}));
  EXPECT_TRUE(r.With("profile").empty()) << r.Text();
  EXPECT_FALSE(p.Exists());
  // Each dialog starts from the store again, not from the previous dialog's boxes.
  for (int n = 0; n < 3; ++n) EXPECT_EQ(ViewOf(r, n, false), kAllOnHigh) << "dialog " << n;
  // The main window re-read the (absent) store: monitoring still on, Sensitivity still 1.
  EXPECT_EQ(r.With("timer 102 1 set 25").back().time, CloseTime(r, 2));
  ExpectCheckWorksWith(r, kSeedMiddle, CloseTime(r, 2) + kCheckDelay, 1);
}

TEST(SetupDialog, ValuesTheProgramNeverWritesAreUsedAsStoredAndNormalisedByOk) {
  {
    SCOPED_TRACE("Sensitivity 0: the monitor never alerts, not even on the top draw");
    TempProfile p("[Options]\nSensitivity=0\n");
    ExpectCheckWorksWith(RunSim(Args(kSeedTop, p.path()), "wait 60100\n"), kSeedTop, kCheckDelay,
                         0);
  }
  {
    SCOPED_TRACE("Sensitivity 15: every check alerts, even on a draw of 0");
    TempProfile p("[Options]\nSensitivity=15\n");
    EXPECT_TRUE(Alerted(RunSim(Args(kSeedZero, p.path()), "wait 60100\n")));
  }
  {
    SCOPED_TRACE("the largest int is still above 10: every check alerts");
    TempProfile p("[Options]\nSensitivity=2147483647\n");
    EXPECT_TRUE(Alerted(RunSim(Args(kSeedZero, p.path()), "wait 60100\n")))
        << "10 x Sensitivity must not wrap around into a threshold above 99";
  }
  {
    SCOPED_TRACE("Setup shows 0 at the Low end and OK stores 1");
    TempProfile p("[Options]\nSensitivity=0\n");
    SimResult r = RunSim(Args(kSeedTop, p.path()), "click 1002\nwait 100\nclick 1\nwait 60100\n");
    EXPECT_EQ(ViewOf(r, 0, false)[7], 1) << r.Text();
    EXPECT_EQ(WritesOf(r, 0), Writes({1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(p.Read(),
              "[Options]\nSensitivity=1\nUseSounds=1\nMonitor=1\nScan1=1\nScan2=1\nScan3=1\n"
              "Scan4=1\nScan5=1\n");
    ExpectCheckWorksWith(r, kSeedTop, 100 + kCheckDelay, 1);
  }
  {
    SCOPED_TRACE("Setup shows 15 at the High end, any non-zero switch ticked; OK stores 10 and 1s");
    TempProfile p("[Options]\nUseSounds=7\nMonitor=-1\nScan2=2\nScan4=0\nSensitivity=15\n");
    SimResult r = RunSim(Args(kSeedZero, p.path()), "click 1002\nwait 100\nclick 1\nwait 60100\n");
    // Monitor=-1 counts as on from the start.
    EXPECT_EQ(r.TimeOf("timer 102 1 set 25"), 0);
    const Options shown = {1, 1, 1, 1, 1, 0, 1, 10};
    EXPECT_EQ(ViewOf(r, 0, false), shown) << r.Text();
    EXPECT_EQ(WritesOf(r, 0), Writes(shown));
    EXPECT_EQ(p.Read(),
              "[Options]\nUseSounds=1\nMonitor=1\nScan2=1\nScan4=0\nSensitivity=10\nScan1=1\n"
              "Scan3=1\nScan5=1\n");
    // At 10 a draw of 0 no longer alerts.
    ExpectCheckWorksWith(r, kSeedZero, 100 + kCheckDelay, 10);
  }
}

TEST(SetupDialog, UntickedScanningOptionsAreStoredAsZerosAndTheNextScanSkipsThem) {
  TempProfile p;
  // Every scanning method unticked and saved, then a full scan.
  SimResult r = InSetup(p,
                        "click 1025\nclick 1026\nclick 1027\nclick 1028\nclick 1029\nclick 1\n"
                        "wait 10\nclick 1000\nwait 12100\n",
                        "--seed 3 ");
  ExpectSavedAsShown(r, {1, 1, 0, 0, 0, 0, 0, 10});
  EXPECT_EQ(p.Read(),
            "[Options]\nUseSounds=1\nMonitor=1\nScan1=0\nScan2=0\nScan3=0\nScan4=0\nScan5=0\n"
            "Sensitivity=10\n");
  // The main window took the zeros over: the scan names no method at all.
  EXPECT_EQ(r.Events("text 148"),
            (std::vector<std::string>{"text 148 1019 \"Scanning...\"", "text 148 1019 \"\""}))
      << r.Text();
}

TEST(SetupDialog, KeyboardStartsOnUseSoundsAndEnterIsOk) {
  TempProfile p;
  SimResult r = InSetup(p,
                        "key Space\nkey Tab\nkey Space\nkey Tab\nkey Home\nkey Right\nkey Tab\n"
                        "key Space\nkey Enter\nwait 10\n");
  ExpectSavedAsShown(r, {0, 0, 0, 1, 1, 1, 1, 2});
  EXPECT_TRUE(r.Has("close 169 1"));
}

TEST(SetupDialog, SwitchingMonitorInSetupStopsOrStartsTheSweepAtOnce) {
  TempProfile p;
  // Four ticks light lamp 4; untick "Active" and move the trackbar, then OK.
  SimResult r = RunSim(Args(1, p.path()),
                       "wait 110\nclick 1002\nwait 10\nclick 1030\nslide 1031 3\nclick 1\n"
                       "wait 500\nclick 1002\nwait 10\nclick 1030\nclick 1\nwait 30\n");
  ASSERT_EQ(r.status, 0) << r.Text();
  // Unticking "Active" leaves the trackbar usable and its position is stored as usual.
  EXPECT_TRUE(r.With("enable 169").empty()) << r.Text();
  EXPECT_EQ(WritesOf(r, 0), Writes({1, 0, 1, 1, 1, 1, 1, 3}));
  EXPECT_EQ(CloseTime(r, 0), 120);
  // Off: the timer stays stopped and the last lit lamp stays lit until monitoring comes back.
  std::vector<std::string> stopped;
  for (const SimLine& l : r.lines) {
    if (l.time > 110 && l.time <= CloseTime(r, 1) && l.event.rfind("picture 102", 0) == 0) {
      stopped.push_back(l.event);
    }
  }
  EXPECT_TRUE(stopped.empty()) << r.Text();
  const std::vector<SimLine> sets = r.With("timer 102 1 set 25");
  ASSERT_EQ(sets.size(), 2u) << r.Text();
  EXPECT_EQ(sets[0].time, 0);
  // On again: the timer starts as the dialog closes and the light goes on from lamp 4 to 5.
  EXPECT_EQ(WritesOf(r, 1), Writes({1, 1, 1, 1, 1, 1, 1, 3}));
  EXPECT_EQ(sets[1].time, CloseTime(r, 1));
  std::vector<std::string> resumed;
  for (const SimLine& l : r.With("picture 102")) {
    if (l.time == CloseTime(r, 1) + 25) resumed.push_back(l.event);
  }
  EXPECT_EQ(resumed, (std::vector<std::string>{"picture 102 1010 146", "picture 102 1011 147"}));
  std::string lastBeforeOff;
  for (const SimLine& l : r.With("picture 102")) {
    if (l.time <= 110) lastBeforeOff = l.event;
  }
  EXPECT_EQ(lastBeforeOff, "picture 102 1010 147");

  // Monitoring off from the start, Cancel: the timer never starts.
  TempProfile off("[Options]\nMonitor=0\n");
  SimResult cancelled = RunSim(Args(1, off.path()),
                               "click 1002\nwait 10\nclick 1030\nclick 2\n"
                               "wait 100\n");
  EXPECT_TRUE(cancelled.With("timer 102 1").empty()) << cancelled.Text();
  EXPECT_TRUE(cancelled.With("picture 102").empty());
}

TEST(SetupDialog, HandWrittenProfileKeepsCommentsSectionsLineEndsAndKeySpelling) {
  const std::string original =
      "; Quorblex Pro settings, tuned by hand\r\n"
      "\r\n"
      "[Window]\r\n"
      "Left=10\r\n"
      "\r\n"
      "[options]\r\n"
      "# quiet please\r\n"
      "usesounds=0\r\n"
      "MONITOR = 0\r\n"
      "sensitivity=4\r\n"
      "Scan3=0\r\n"
      "\r\n"
      "[Other]\r\n"
      "Scan1=7\r\n";
  TempProfile p(original);
  // First change things and Cancel, then change them and press OK.
  SimResult r =
      RunSim(Args(1, p.path()),
             "click 1002\nwait 10\nclick 1024\nclick 1025\nslide 1031 8\nclick 2\n"
             "wait 10\nclick 1002\nwait 10\nclick 1030\nslide 1031 6\nclick 1\nwait 10\n");
  ASSERT_EQ(r.status, 0) << r.Text();
  const Options stored = {0, 0, 1, 1, 0, 1, 1, 4};
  EXPECT_EQ(ViewOf(r, 0, false), stored) << r.Text();
  EXPECT_TRUE(WritesOf(r, 0).empty());
  // The second dialog shows the file as it was: Cancel wrote nothing.
  EXPECT_EQ(ViewOf(r, 1, false), stored);
  EXPECT_EQ(WritesOf(r, 1), Writes({0, 1, 1, 1, 0, 1, 1, 6}));
  // Monitoring was off and is on now: the timer starts as the dialog closes.
  EXPECT_EQ(r.Events("timer 102 1 set 25").size(), 1u);
  EXPECT_EQ(r.TimeOf("timer 102 1 set 25"), CloseTime(r, 1));
  // Each value changes where it stands; the keys the file lacked follow the last one it had.
  EXPECT_EQ(p.Read(),
            Edited(original,
                   {{"MONITOR = 0", "MONITOR = 1"},
                    {"sensitivity=4", "sensitivity=6"},
                    {"Scan3=0\r\n", "Scan3=0\r\nScan1=1\r\nScan2=1\r\nScan4=1\r\nScan5=1\r\n"}}));
}

// A text as the transcript quotes it (a Windows path has backslashes).
std::string Quoted(const std::string& text) {
  std::string quoted;
  for (const char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted;
}

// The box a failed save shows, and the line it prints on standard error.
std::string SaveFailedBox(const std::string& path, const std::string& reason) {
  return "msgbox \"Quorblex Pro could not save its settings to\\n" + Quoted(path) + ":\\n" +
         reason + ".\" \"Quorblex Pro\" 0x30";
}
std::string SaveFailedLine(const std::string& path, const std::string& reason) {
  return "Quorblex Pro could not save its settings to " + path + ": " + reason + ".\n";
}

// The three events after the last write of the n-th Setup OK (counting from 0).
std::vector<std::string> AfterSave(const SimResult& r, int n) {
  const std::vector<std::string> events = r.Events();
  int seen = -1;
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].rfind("profile Options Sensitivity ", 0) != 0 || ++seen != n) continue;
    return {events.begin() + static_cast<std::ptrdiff_t>(i + 1),
            events.begin() + static_cast<std::ptrdiff_t>(std::min(events.size(), i + 4))};
  }
  return {};
}

// The n-th Setup OK showed the box, which was answered, and then the dialog closed with OK.
void ExpectSaveFailureSaid(const SimResult& r, int n, const std::string& box) {
  EXPECT_EQ(AfterSave(r, n), (std::vector<std::string>{box, "close msgbox 1", "close 169 1"}))
      << r.Text();
}

TEST(SetupDialog, SaveThatCannotReachTheDiskSaysSoOnceAndTheProgramCarriesOn) {
  TempProfile blocker("not a folder\n");
  const fs::path folder = fs::path(blocker.path()).parent_path();
  const std::string isFolder = (folder / "folder.ini").string();
  fs::create_directory(isFolder);
  struct Case {
    std::string path, reason;
  };
  const Case cases[] = {
      {blocker.path() + "/quorblex.ini", "Not a directory"},
      {(folder / "missing" / "quorblex.ini").string(), "No such file or directory"},
      {isFolder, "Is a directory"}};

  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    // Untick "Active" and press OK: all eight writes are tried and lost, one box says so, and
    // the main window re-reads the defaults and monitors on, with Sensitivity 1 rather than the
    // dialog's 10. Esc answers the box the second time.
    SimResult r = RunSim(Args(kSeedMiddle, c.path),
                         "click 1002\nwait 10\nclick 1030\nclick 1\nwait 10\nclick 1\nwait 10\n"
                         "click 1002\nwait 10\nclick 1\nwait 10\nkey Escape\nwait 10\n"
                         "click 1002\nwait 10\nclick 2\nwait 60100\n");
    ASSERT_EQ(r.status, 0) << r.Text();
    EXPECT_TRUE(r.Has("end"));
    EXPECT_EQ(WritesOf(r, 0), Writes({1, 0, 1, 1, 1, 1, 1, 10}));
    EXPECT_EQ(WritesOf(r, 1), Writes(kAllOnHigh));
    ExpectSaveFailureSaid(r, 0, SaveFailedBox(c.path, c.reason));
    ExpectSaveFailureSaid(r, 1, SaveFailedBox(c.path, c.reason));
    EXPECT_EQ(r.With("msgbox").size(), 2u);
    EXPECT_EQ(r.err, SaveFailedLine(c.path, c.reason) + SaveFailedLine(c.path, c.reason));
    EXPECT_EQ(ViewOf(r, 2, false), kAllOnHigh);
    // Start, after each dialog (monitoring still on, whatever the box said).
    EXPECT_EQ(r.With("timer 102 1 set 25").size(), 4u) << r.Text();
    EXPECT_EQ(r.With("timer 102 1 set 25").back().time, CloseTime(r, 2));
    ExpectCheckWorksWith(r, kSeedMiddle, CloseTime(r, 2) + kCheckDelay, 1);
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"folder.ini", "quorblex.ini"}));
  EXPECT_TRUE(fs::is_empty(isFolder));
  EXPECT_EQ(blocker.Read(), "not a folder\n");
}

// A user folder named in another script than ASCII, on the command line and on disk: the
// profile there is read, and OK writes it.
TEST(SetupDialog, ProfileInAFolderNamedZoeOrLukaszIsReadAndWritten) {
  TempProfile scratch;
  const std::string base = fs::path(scratch.path()).parent_path().string();
  const std::string old = "; mine\r\n[Options]\r\nScan2=0\r\nSensitivity=4\r\n";
  for (const std::string user : {"Zo\u00eb", "\u0141ukasz"}) {
    SCOPED_TRACE(user);
    const std::string folder = base + "/" + user;
    ASSERT_TRUE(fs::create_directory(NativePath(folder)));
    const std::string path = folder + "/quorblex.ini";
    std::ofstream(NativePath(path), std::ios::binary) << old;
    SimResult r =
        RunSim(Args(kSeedMiddle, "\"" + path + "\""), "click 1002\nwait 10\nclick 1\nwait 10\n");
    ASSERT_EQ(r.status, 0) << r.Text();
    const Options stored = {1, 1, 1, 0, 1, 1, 1, 4};
    EXPECT_EQ(ViewOf(r, 0, false), stored) << Describe(ViewOf(r, 0, false));
    EXPECT_EQ(WritesOf(r, 0), Writes(stored));
    EXPECT_EQ(r.err, "");
    std::ifstream in(NativePath(path), std::ios::binary);
    const std::string now(std::istreambuf_iterator<char>(in), {});
    EXPECT_TRUE(now.starts_with(old)) << now;
    for (size_t i = 0; i < stored.size(); ++i) {
      EXPECT_EQ(IniText::FindInt(now, "Options", kOptionKeys[i]), stored[i]) << kOptionKeys[i];
    }
  }
}

TEST(SetupDialog, SaveOnAFullDiskSaysSoAndLeavesTheOldProfile) {
  TempProfile scratch;
  const std::string disk = (fs::path(scratch.path()).parent_path() / "disk").string();
  fs::create_directory(disk);
  const std::string failed = MountSmallDisk(disk);
  ASSERT_EQ(failed, "") << "cannot make a full disk for this test: it needs " << failed;
  struct Unmount {
    std::string disk;
    ~Unmount() { UnmountSmallDisk(disk); }
  } unmount{disk};

  const std::string path = disk + "/quorblex.ini";
  const std::string old = "[Options]\nScan2=1\nSensitivity=4\n";
  std::ofstream(path) << old;
  {
    // Fill the disk to the last byte.
    std::ofstream filler(disk + "/filler", std::ios::binary);
    const std::string block(512, 'f');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  }
  // Untick "Check Tabloid Headlines" and save; the next Setup shows what is stored.
  SimResult r = RunSim(Args(kSeedMiddle, path),
                       "click 1002\nwait 10\nclick 1026\nclick 1\nwait 10\nclick 1\nwait 10\n"
                       "click 1002\nwait 10\nclick 2\nwait 10\n");
  ASSERT_EQ(r.status, 0) << r.Text();
  EXPECT_EQ(WritesOf(r, 0), Writes({1, 1, 1, 0, 1, 1, 1, 4}));
  ExpectSaveFailureSaid(r, 0, SaveFailedBox(path, "No space left on device"));
  EXPECT_EQ(r.With("msgbox").size(), 1u);
  EXPECT_EQ(r.err, SaveFailedLine(path, "No space left on device"));
  EXPECT_EQ(ViewOf(r, 1, false), (Options{1, 1, 1, 1, 1, 1, 1, 4}));
  std::ifstream in(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(disk)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"filler", "quorblex.ini", "quorblex.ini.lock"}));
}

TEST(SetupDialog, HostileProfilesAreReadAndWrittenWithoutACrash) {
  std::string binary;
  for (int round = 0; round < 4; ++round) {
    for (int b = 0; b < 256; ++b) binary.push_back(static_cast<char>(b));
  }
  binary += "\xFF\xFE\0\0"s;
  // Every key present, so that only the changed ones make the program rewrite all 10 MB.
  const std::string longLine =
      "[Options]\nUseSounds=1\nMonitor=1\nScan1=1\nScan2=0\nNote=" + std::string(10 << 20, 'y') +
      "\nScan3=1\nScan4=1\nScan5=1\nSensitivity=3\n";
  struct Case {
    const char* name;
    std::string content;
    Options shown;
  };
  const Case cases[] = {
      {"empty", "", kAllOnHigh},
      {"binary", binary, kAllOnHigh},
      {"no trailing line break", "[Options]\r\nScan4=0\r\nSensitivity=6", {1, 1, 1, 1, 1, 0, 1, 6}},
      {"only a header", "[Options]", kAllOnHigh},
      {"lone CR line ends", "[Options]\rScan1=0\rSensitivity=2\r", {1, 1, 0, 1, 1, 1, 1, 2}},
      {"10 MB line", longLine, {1, 1, 1, 0, 1, 1, 1, 3}},
      {"duplicate sections and keys",
       "[Options]\nSensitivity=3\nSensitivity=8\nScan1=1\n[Other]\nScan5=0\n"
       "[OPTIONS]\nScan1=0\nScan5=0\nmonitor=0\nmonitor=1\n",
       {1, 0, 1, 1, 1, 1, 0, 3}},
      {"numbers that are not quite numbers",
       "[Options]\nSensitivity=12abc\nScan1=-0\nScan2=99999999999\nScan3=\nScan4= +0 \n"
       "UseSounds=0x1\nMonitor=-2147483648\n",
       {1, 1, 0, 1, 1, 0, 1, 10}},
      {"byte order mark and a NUL in a key",
       "\xEF\xBB\xBF[Options]\nScan3=0\nSca\0n4=0\n"s,
       {1, 1, 1, 1, 0, 1, 1, 10}},
  };
  // Dialog 0: OK as shown. Dialog 1: toggle "Use Sounds", trackbar to 5, OK. Dialog 2 shows
  // what dialog 1 stored.
  const std::string script =
      "click 1002\nwait 10\nclick 1\nwait 10\n"
      "click 1002\nwait 10\nkey Space\nslide 1031 5\nclick 1\nwait 10\n"
      "click 1002\nwait 10\nclick 2\nwait 10\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempProfile p;
    std::ofstream(p.path(), std::ios::binary) << c.content;
    SimResult r = RunSim("--profile " + p.path(), script);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(r.Has("end"));
    EXPECT_EQ(ViewOf(r, 0, false), c.shown) << Describe(ViewOf(r, 0, false));
    EXPECT_EQ(WritesOf(r, 0), Writes(c.shown));
    EXPECT_EQ(ViewOf(r, 1, false), c.shown);
    Options changed = c.shown;
    changed[0] = 1 - changed[0];
    changed[7] = 5;
    EXPECT_EQ(WritesOf(r, 1), Writes(changed));
    EXPECT_EQ(ViewOf(r, 2, false), changed) << Describe(ViewOf(r, 2, false));
  }
}

}  // namespace
