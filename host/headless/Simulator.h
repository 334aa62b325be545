// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// quorblex-sim: the real program on the headless host, driven by a script, printing what a
// user would see change or hear.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct SimOptions {
  std::optional<unsigned> seed;
  std::string profile;  // empty: a file in a new temporary folder, removed at exit
  std::optional<std::string> dataDir;
  bool tray = true;
  bool soundDevice = true;
  bool trace = false;
  // Every timer tick made when it falls due, also the quiet ones while every window is hidden;
  // the transcript must be the same as without.
  bool everyTick = false;
  // A "wake" line each time the program wakes from waiting.
  bool traceWakes = false;
  std::string scriptPath = "-";
  // --help or --version: say so and run nothing (the rest of the line is not read).
  bool help = false;
  bool version = false;
};

// Parses the command line; throws std::invalid_argument with a message on a bad one.
SimOptions ParseSimArguments(const std::vector<std::string>& args);

// Runs the program; returns the process's exit status (2 for a script error).
int RunSimulator(const SimOptions& options, std::istream& script, std::ostream& out,
                 std::ostream& err);
