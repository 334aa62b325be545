// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification icon. Mouse events on it are reported as the mouse messages the program
// listens for; it has no menu of its own.
//
// Qt's Trigger can be the first half of a double click, and StatusNotifierItem hosts never
// send DoubleClick, so Trigger counts as a left-button press and Context as a right-button
// release; nothing depends on the others.
#include <QSystemTrayIcon>
#include <functional>
#include <string>

class TrayIcon {
 public:
  // True when the desktop has a notification area to put an icon in.
  static bool Available();
  // Shows the icon at once. `report` receives the mouse message (WM_LBUTTONDOWN, ...).
  TrayIcon(const std::string& tip, std::function<void(int message)> report);
  QSystemTrayIcon& icon() { return icon_; }
  // The mouse message an activation stands for; 0 for none.
  static int MessageFor(QSystemTrayIcon::ActivationReason reason);

 private:
  QSystemTrayIcon icon_;
  std::function<void(int)> report_;
};
