// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// quorblex.exe's command line: --help and --version, nothing else. The program itself takes
// no arguments.
#include <string>
#include <vector>

class WindowsCommandLine {
 public:
  enum class Action { kRun, kHelp, kVersion, kError };

  // The full text that --help shows; its first line is the usage line.
  static const char* const kHelp;

  // `args` without the program's name.
  static WindowsCommandLine Parse(const std::vector<std::string>& args);

  Action action() const { return action_; }
  // For kError: one line naming what was wrong, e.g. "unknown option --frobnicate".
  const std::string& error() const { return error_; }

 private:
  Action action_ = Action::kRun;
  std::string error_;
};
