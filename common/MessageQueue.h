// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thread's message queue: posted messages and raw input, each first in first out. The
// window system's loop takes every posted message before any input, and makes a timer message
// (see TimerTable) only when both are empty. Sent messages never enter the queue: SendMessage
// is a direct call. Messages name their window by handle, so one whose window is gone when it
// is taken reaches nobody.
#include <deque>
#include <optional>

#include "common/View.h"
#include "common/WinTypes.h"

class MessageQueue {
 public:
  void Post(const MSG& m) { posted_.push_back(m); }
  void PushInput(InputEvent e) { input_.push_back(std::move(e)); }
  std::optional<MSG> TakePosted();
  std::optional<InputEvent> TakeInput();

 private:
  std::deque<MSG> posted_;
  std::deque<InputEvent> input_;
};
