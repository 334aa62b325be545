// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop program's command line, read before Qt starts so that --help and --version
// work without a display. Qt's own options (-platform, -style, -display, ...) are let through
// for Qt to act on; anything else is refused.
#include <string>
#include <vector>

class DesktopCommandLine {
 public:
  enum class Action { kRun, kHelp, kVersion, kError };

  // The full text that --help prints; its first line is the usage line.
  static const char* const kHelp;

  // `args` without the program name.
  static DesktopCommandLine Parse(const std::vector<std::string>& args);

  Action action() const { return action_; }
  // For kError: one line naming what was wrong, e.g. "unknown option --frobnicate".
  const std::string& error() const { return error_; }
  // -platform was given, so Qt is told by hand where to show the program.
  bool platformGiven() const { return platformGiven_; }
  // -style was given, so the user's style wins over the classic one.
  bool styleGiven() const { return styleGiven_; }

 private:
  Action action_ = Action::kRun;
  std::string error_;
  bool platformGiven_ = false;
  bool styleGiven_ = false;
};
