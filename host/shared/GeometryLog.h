// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A debugging aid: with QUORBLEX_DUMP_GEOMETRY=FILE set, each window appends its layout to
// FILE when it first shows, so a test can check where everything stands:
//
//   WIN window X Y W H      the client area on the screen
//   WIN ID x y w h          each control relative to the client area, in template order
//   draw N RESULT           one of the run's first draws (Random(N) gave RESULT), so that two
//                           starts can be told apart by what the system's seed made of them
//
// WIN is the template number, or "msgbox". Sizes are in device-independent pixels. The lines
// are Layout::GeometryLine's; this only keeps the file.
#include <string>

#include "common/Observer.h"

class GeometryLog {
 public:
  // Appends to `path`; an empty path keeps nothing.
  explicit GeometryLog(std::string path) : path_(std::move(path)) {}
  // The file the environment names, if any.
  static GeometryLog FromEnvironment();
  // Adds `lines` at the end of the file. A file that cannot be opened loses them, silently.
  void Append(const std::string& lines) const;
  bool On() const { return !path_.empty(); }

 private:
  std::string path_;
};

// Notes the run's first draws in the log: the desktop program's only observer, there for the
// tests that start it twice.
class FirstDrawsLog : public Observer {
 public:
  explicit FirstDrawsLog(const GeometryLog& log) : log_(log) {}
  void RandomDraw(int n, int result) override {
    if (noted_ >= kNoted) return;
    ++noted_;
    log_.Append("draw " + std::to_string(n) + " " + std::to_string(result) + "\n");
  }
  void TimerCall(int, unsigned, int) override {}
  void ProfileWrite(const std::string&, const std::string&, int) override {}
  void InputIgnored(const InputEvent&) override {}

 private:
  static constexpr int kNoted = 32;
  const GeometryLog& log_;
  int noted_ = 0;
};
