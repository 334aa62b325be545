// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads one run's transcript (quorblex-sim --trace) line by line and checks, after every line,
// what must hold whatever the input was:
//  - time never goes back, and no moment holds an endless stream of lines;
//  - windows open and close in nested order, and input only ends the program through Exit,
//    Esc or the close box of the main window (or the window menu's Close);
//  - the lamp sweep moves exactly one step a tick: never two main-window ticks at one moment,
//    no tick without the timer, ticks on the timer's grid except right after a synchronous cue,
//    and none lost while the program was idle;
//  - the main window works with the options the profile holds: no sound when sounds are off,
//    no ticks when monitoring is off, the monitor's alert exactly when its draw beats the
//    sensitivity, each scan method shown or skipped as its switch says; Setup shows the profile
//    and OK writes exactly what Setup shows; a save that fails says so once, naming the profile;
//  - cues are missing exactly when their file is, and fail exactly when there is no device.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/soak/ScriptGenerator.h"

// The eight options, in the order Setup writes them.
struct SoakOptions {
  static constexpr const char* kKeys[8] = {"UseSounds", "Monitor", "Scan1", "Scan2",
                                           "Scan3",     "Scan4",   "Scan5", "Sensitivity"};
  int value[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  bool operator==(const SoakOptions&) const = default;
};

struct RunSetup {
  bool tray = true;
  bool soundDevice = true;
  std::string dataDir;
  std::string profile;  // the --profile path, which a failed save names; "" not to check
  std::vector<ScriptLine> script;
  SoakOptions working;  // what the main window reads from the profile at start
  // What Setup shows when it opens (its own defaults differ), when the profile's values are
  // ones Setup can show as they are; otherwise Setup's first look is not checked.
  std::optional<SoakOptions> setupShows;
};

struct RunStats {
  std::int64_t lines = 0, ticks = 0, alerts = 0, scans = 0, abducteeScans = 0, setupsSaved = 0,
               setupsUnsaved = 0, ignored = 0, cues = 0, endTime = 0;
  bool exited = false;
};

class TranscriptChecker {
 public:
  explicit TranscriptChecker(RunSetup setup);

  // Feeds one line; false when a check failed (see Failure()).
  bool Feed(std::string_view line);
  // After the last line: the run must have ended cleanly.
  bool Finish();

  const std::string& Failure() const { return failure_; }
  const RunStats& Stats() const { return stats_; }
  // The options the main window works with now; at the end, what the profile must hold.
  const SoakOptions& Working() const { return setup_.working; }
  // The virtual time of the last line read.
  std::int64_t Now() const { return now_; }
  bool ProfileWritten() const { return profileWritten_; }

 private:
  struct Stretch {
    std::int64_t from, to;  // the program was busy in synchronous cues during [from, to)
  };

  bool Fail(const std::string& why);
  bool Event(std::string_view event);
  bool EndTick();
  bool Tick(const std::vector<std::string>& lines);
  bool EndProgressStep();
  bool Sound(std::string_view event);
  bool Open(const std::string& win);
  bool Close(const std::string& win, int result);
  bool ProfileLine(std::string_view event);
  bool SaveFailed(const std::vector<std::string>& words);
  bool IssuedLately(const std::string& command) const;
  bool ExitAllowed() const;
  std::int64_t BusyFrom(std::int64_t t) const;
  bool InBusy(std::int64_t t) const;
  int CueLength(const std::string& name, bool* missing);

  RunSetup setup_;
  RunStats stats_;
  std::string failure_;
  std::int64_t now_ = 0;
  std::int64_t linesNow_ = 0;
  bool started_ = false, ended_ = false, mainClosed_ = false;
  std::vector<std::string> windows_;  // open windows, innermost last
  std::deque<std::string> expected_;  // lines that must come next, in order

  // The main window's lamp sweep and timer 1.
  std::vector<std::string> tickLines_;
  std::int64_t tickTime_ = -1;
  int sweepStep_ = 0;  // index into the 22-step cycle of lit lamps
  bool timerRunning_ = false;
  std::int64_t gridBase_ = 0, lastTick_ = -1;
  bool drawDue_ = false, drawForbidden_ = false;
  std::deque<Stretch> busy_;

  // The scan's lamps: which lamps lit at the moment of the last step, and its status line.
  std::int64_t progressTime_ = -1;
  std::vector<int> progressLit_;
  std::string progressText_;

  // Setup: what its switches and trackbar show, and the profile writes of its OK.
  std::map<int, int> setupChecks_;
  int setupSlider_ = 0;
  std::map<std::string, int> writes_;
  bool saveFailed_ = false;  // this Setup's OK said it could not save
  bool profileWritten_ = false;

  std::map<std::string, int> cueLengths_;  // -1: missing
};
