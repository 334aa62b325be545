// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A debugging aid, as on the Qt desktop: with QUORBLEX_DUMP_GEOMETRY=FILE set, each window
// appends its layout to FILE when it first shows, so a test can find what to look at and where
// to click:
//
//   WIN window X Y W H      the client area on the screen
//   WIN ID x y w h          each control relative to the client area, in template order
//
// WIN is the template number, or "msgbox". Sizes are in the screen's pixels.
#include <string>

class DialogWindow;

class GeometryDump {
 public:
  GeometryDump();  // reads the environment
  void Write(const DialogWindow& window) const;
  // The lines Write would append.
  static std::string Lines(const DialogWindow& window);

 private:
  std::wstring path_;
};
