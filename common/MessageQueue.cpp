// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/MessageQueue.h"

std::optional<MSG> MessageQueue::TakePosted() {
  if (posted_.empty()) return std::nullopt;
  MSG m = posted_.front();
  posted_.pop_front();
  return m;
}

std::optional<InputEvent> MessageQueue::TakeInput() {
  if (input_.empty()) return std::nullopt;
  InputEvent e = std::move(input_.front());
  input_.pop_front();
  return e;
}
