// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window system knows of the object behind a window (the framework's CWnd): it hands
// the object the window's messages, lets it see a key message before the dialog keyboard does,
// and tells it when the window is gone. Nothing else of the framework is known below it.
#include "common/WinTypes.h"

class WindowObject {
 public:
  // A message for the window, sent or taken from the queue.
  virtual LRESULT CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // A key message for the window's dialog; true when it was used.
  virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;
  // The window has been destroyed; the object no longer names it.
  virtual void WindowDestroyed() = 0;

 protected:
  ~WindowObject() = default;
};
