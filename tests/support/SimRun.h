// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs quorblex-sim as a user would, with a script, and hands back its transcript.
#include <cstdint>
#include <string>
#include <vector>

struct SimLine {
  std::int64_t time = 0;
  std::string event;  // the line after the time
};

struct SimResult {
  int status = -1;
  std::vector<SimLine> lines;
  std::string err;
  // Lines whose event starts with `prefix`.
  std::vector<SimLine> With(const std::string& prefix) const;
  // Events only, for comparing sequences.
  std::vector<std::string> Events(const std::string& prefix = "") const;
  // The time of the first event starting with `prefix`, or -1.
  std::int64_t TimeOf(const std::string& prefix) const;
  bool Has(const std::string& event) const;
  std::string Text() const;  // the whole transcript, for failure messages
};

// `args` go on the command line before the script, e.g. "--seed 1 --trace". The run must
// reach its end: exit status 0 and a last line `end` or `exit N`; anything else fails the
// calling test, so a simulator that cannot start never passes for one that printed nothing.
SimResult RunSim(const std::string& args, const std::string& script);

// The same without that check, for runs that are meant to fail (script and option errors).
SimResult RunSimUnchecked(const std::string& args, const std::string& script);

// A profile file in a fresh temporary folder holding `content` (none when empty).
class TempProfile {
 public:
  explicit TempProfile(const std::string& content = "");
  ~TempProfile();
  const std::string& path() const { return path_; }
  std::string Read() const;
  bool Exists() const;

 private:
  std::string dir_, path_;
};
