// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/shared/InputQueue.h"

bool InputQueue::HandOver(InputSink& sink) {
  if (pending_.empty()) return false;
  while (!pending_.empty()) {
    InputEvent e = std::move(pending_.front());
    pending_.pop_front();
    sink.Push(std::move(e));
  }
  return true;
}
