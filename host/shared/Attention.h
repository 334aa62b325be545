// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a desktop makes sure the user notices what the program shows: a window that opens while
// its owner is out of sight, the main window gone to the notification area, a text that a
// screen reader should read as it changes.
#include "common/View.h"

namespace Attention {

// A window opened over an owner that the user cannot see (hidden, minimized) or while another
// program has the foreground: it gets a task-bar button of its own, so that it can be found
// and flashed when the desktop will not bring it to the front.
bool NeedsTaskbarButton(bool owned, bool ownerShown, bool programInForeground);

// A change the screen reader announces: a static text of a shown window that took a new text
// or came into view.
bool IsAnnounced(const ControlModel& control, Change what, bool windowShown);

// A window of a scan (its progress or its results).
bool IsScan(int templateId);

// The once-a-run hint that the main window went to the notification area: shown the first
// time it goes there, never over a scan, and taken away when a scan opens or the window comes
// back.
class Balloon {
 public:
  enum class Action { None, Show, Withdraw };
  // The main window went to the notification area (`iconShown`: the icon is there to point at).
  Action MainHidden(bool iconShown);
  Action MainShown();
  Action ScanOpened();
  void ScanClosed();

 private:
  Action Withdraw();
  bool given_ = false, up_ = false;
  int scans_ = 0;
};

}  // namespace Attention
