// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs one simulator process and hands its standard output to a reader line by line, as the
// lines come. Blocking: returns when the process has ended, when the reader refuses a line, or
// when the wall-time bound has passed; in the last two cases the process is killed first.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct SimOutcome {
  int status = -1;        // exit status, or 128 + the signal that ended it
  bool timedOut = false;  // killed at the wall-time bound
  bool stopped = false;   // killed because the reader refused a line
  std::string errors;     // what it wrote on standard error (sanitizer reports land here)
};

class SimProcess {
 public:
  using LineReader = std::function<bool(std::string_view)>;

  // argv[0] is the program's path. Standard error goes to `errPath`, read back at the end.
  static SimOutcome Run(const std::vector<std::string>& argv, const std::string& errPath,
                        double wallSeconds, const LineReader& reader);
};
