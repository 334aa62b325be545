// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Random input for the soak: a script for quorblex-sim, made up front for one run.
//
// The simulator reads its whole script before the program starts, so the generator cannot see
// which window is active. It writes episodes instead: "open Setup, change a few things, OK",
// "start a full scan, wait or abort, close the results", "minimize, then bring it back from
// the icon". Each episode guesses the window its input meets from how long the program takes;
// when the guess is wrong (a monitor alert popped up, a scan ended early, a click missed), the
// input still means something to whichever window is active, or it is dropped and printed as
// ignored. Between episodes come bursts of input drawn from everything any window accepts, so
// every window meets every kind of input. The checker never trusts the generator's guess: it
// learns the active window from the transcript.
//
// Waits are 0 to 5 s; longer pauses are several waits in a row.
#include <cstdint>
#include <string>
#include <vector>

// A small generator with a fixed algorithm (splitmix64), so a seed gives the same soak on
// every compiler and library.
class SoakRandom {
 public:
  explicit SoakRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // A number in [lo, hi].
  std::int64_t Between(std::int64_t lo, std::int64_t hi);
  // True with probability percent / 100.
  bool Chance(double percent);
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Between(0, N - 1)];
  }

 private:
  std::uint64_t state_;
};

struct ScriptLine {
  std::int64_t time = 0;  // the script's clock when the command is given
  std::string command;    // as written in the script, e.g. "click 1000", "wait 250"
  bool IsWait() const { return command.rfind("wait ", 0) == 0; }
};

class ScriptGenerator {
 public:
  explicit ScriptGenerator(SoakRandom& random) : random_(random) {}

  // Commands until the script's clock reaches `durationMs`.
  std::vector<ScriptLine> Make(std::int64_t durationMs);

  // The text of a script.
  static std::string Text(const std::vector<ScriptLine>& lines);

 private:
  void Episode();
  void Idle();
  void FullScan();
  void AbducteeScan();
  void Setup();
  void About();
  void Minimize();
  void MonitorWatch();
  void Burst();
  void Exit();

  void Input(const std::string& command);
  void Wait(std::int64_t ms);
  void ShortWait();  // the usual pause between two inputs
  std::string AnyInput();
  std::string Closer(bool mayCancel);

  SoakRandom& random_;
  std::vector<ScriptLine> lines_;
  std::int64_t now_ = 0;
};
