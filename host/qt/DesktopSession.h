// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt side of the desktop program: the application object with the classic look (Qt's
// Windows style, the grey three-dimensional palette, DejaVu Sans 8 pt, the program icon).
// Made once, before any window, and kept until the program ends.
#include <memory>

class QApplication;

class DesktopSession {
 public:
  // The one line said, on standard error, when there is no display to open.
  static constexpr const char* kNoDisplay =
      "quorblex: needs a graphical display (set DISPLAY or WAYLAND_DISPLAY)";

  // Whether the environment names a display (or a Qt platform chosen by hand).
  static bool DisplayConfigured();

  // When the display cannot be opened after all, says kNoDisplay and ends the process with
  // status 1, without Qt's own abort. With `styleChosen` (the user gave Qt's -style), that
  // style is kept instead of the classic one.
  DesktopSession(int& argc, char** argv, bool styleChosen = false);
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

 private:
  std::unique_ptr<QApplication> app_;
};
