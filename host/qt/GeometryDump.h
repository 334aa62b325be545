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
// WIN is the template number, or "msgbox". Sizes are in device-independent pixels.
#include <string>

class DialogWindow;

class GeometryDump {
 public:
  GeometryDump();  // reads the environment
  void Write(const DialogWindow& window) const;
  void Draw(int n, int result);
  // The lines Write would append.
  static std::string Lines(const DialogWindow& window);

 private:
  void Append(const std::string& text) const;

  static constexpr int kDrawsNoted = 32;
  std::string path_;
  int draws_ = 0;
};
