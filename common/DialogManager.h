// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard of a dialog: Enter presses the focused push button or else the default button
// (never a greyed one); Esc sends Cancel; Tab and Shift+Tab move among the tab stops; Alt+letter,
// and in a dialog the bare letter, press the control whose text carries that mnemonic; Space
// presses the focused button or toggles the focused checkbox; arrows, Home, End, PageUp and
// PageDown move a focused trackbar.
#include "common/WindowSystem.h"

class DialogManager {
 public:
  DialogManager(WindowSystem& ws, Window& dialog) : ws_(ws), dialog_(dialog) {}
  bool HandleKey(const MSG& msg);

 private:
  void PressDefault();
  void MoveFocus(bool backwards);
  bool Mnemonic(char letter);
  bool Trackbar(Window& bar, WPARAM vk);
  bool Usable(const Window* c) const { return c && c->enabled && c->visible; }

  WindowSystem& ws_;
  Window& dialog_;
};

// The dialog manager's keyboard handling for `dialog`; true when the key was used.
bool IsDialogMessage(WindowSystem& ws, HWND dialog, const MSG& msg);
