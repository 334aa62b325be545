// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulator's transcript: one event a line, "T event", T the virtual time in whole
// milliseconds. Texts are quoted with \\, \" and \n escaped. Nothing is written once closed.
//
// Once the program runs, lines are stamped with the program's clock (WindowSystem::clock()),
// so that what a tick made up after a sleep does carries the tick's own time.
#include <cstdint>
#include <ostream>
#include <string>

#include "common/Clock.h"

class Transcript {
 public:
  Transcript(std::ostream& out, const Clock& clock, bool trace)
      : out_(out), clock_(&clock), trace_(trace) {}
  void StampWith(const Clock& clock) { clock_ = &clock; }
  void Line(const std::string& event);
  void Trace(const std::string& event) {
    if (trace_) Line(event);
  }
  void Close() { closed_ = true; }
  static std::string Quote(const std::string& text);

 private:
  std::ostream& out_;
  const Clock* clock_;
  bool trace_;
  bool closed_ = false;
};
