// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A debugging aid: with QUORBLEX_DUMP_GEOMETRY=FILE set, each window appends its layout to
// FILE when it first shows, so a test can check where everything stands:
//
//   WIN window X Y W H      the client area on the screen
//   WIN ID x y w h          each control relative to the client area, in template order
//
// WIN is the template number, or "msgbox". Sizes are in device-independent pixels. The lines
// are Layout::GeometryLine's; this only keeps the file.
#include <string>

class GeometryLog {
 public:
  // Appends to `path`; an empty path keeps nothing.
  explicit GeometryLog(std::string path) : path_(std::move(path)) {}
  // The file the environment names, if any.
  static GeometryLog FromEnvironment();
  // Adds `lines` at the end of the file. A file that cannot be opened loses them, silently.
  void Append(const std::string& lines) const;

 private:
  std::string path_;
};
