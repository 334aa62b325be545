// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulator's script: one command a line, '#' starts a comment.
//   wait MS | click ID | key KEY | close | sysmenu ID | tray EVENT | slide ID POS | taskbar
#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/View.h"

struct ScriptCommand {
  bool blank = false;  // an empty line or a comment
  bool isWait = false;
  std::int64_t waitMs = 0;
  InputEvent input;  // for every other command; origin holds the command's text
};

class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

class Script {
 public:
  // Reads the whole script; throws ScriptError naming the first bad line.
  static std::vector<ScriptCommand> Parse(std::istream& in);
  static ScriptCommand ParseLine(const std::string& line, int lineNumber);
};
