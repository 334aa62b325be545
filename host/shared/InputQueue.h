// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Input a desktop has seen and the core has not yet taken. A toolkit reports input whenever it
// runs, also while the core is busy (a notification painting, a synchronous cue); it waits here
// and is handed over, in order, at the start of the core's next wait.
//
// The core asks for input before every message it handles. Looking into the toolkit's own
// queue again less than a millisecond after the last look finds nothing worth the cost, so a
// host asks ShouldLook first when it is only collecting.
#include <cstdint>
#include <deque>

#include "common/Host.h"

class InputQueue {
 public:
  void Report(InputEvent event) { pending_.push_back(std::move(event)); }
  // Hands every waiting event to `sink`; false when there was none.
  bool HandOver(InputSink& sink);
  bool Empty() const { return pending_.empty(); }
  const std::deque<InputEvent>& Pending() const { return pending_; }

  bool ShouldLook(std::int64_t now) const { return now - lastLook_ >= 1; }
  void Looked(std::int64_t now) { lastLook_ = now; }

 private:
  std::deque<InputEvent> pending_;
  std::int64_t lastLook_ = -1000;
};
