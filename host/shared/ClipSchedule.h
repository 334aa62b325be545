// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which frame an animation control shows when, the same on every desktop: the frames of a play
// request follow each other at the clip's rate from the moment of the request, counted from
// that moment (never from the last frame shown), so a late wake-up skips frames rather than
// slowing the clip; a clip played a number of times stops on its last frame.
#include <cstdint>

class ClipSchedule {
 public:
  // A play request of frames `from` to `to`, `repeat` times (-1: for ever; 0: only show
  // `from`) on a clip of `frameCount` frames at `microsPerFrame`. Returns the frame to show at
  // once; -1 when the clip has no frames.
  int Play(int frameCount, std::int64_t microsPerFrame, int from, int to, int repeat,
           std::int64_t now);
  void Stop() { playing_ = false; }
  bool Playing() const { return playing_; }

  struct Step {
    int frame = -1;           // the frame to show now
    std::int64_t next = -1;   // when the next one is due; -1 when the clip has stopped
  };
  // Where the clip stands at `now`; call only while Playing(). Ends the play when its repeats
  // are done.
  Step At(std::int64_t now);
  // The beat a host that cannot wake at `next` ticks on, in milliseconds.
  std::int64_t PeriodMs() const;

 private:
  bool playing_ = false;
  int first_ = 0, count_ = 1, repeat_ = 0;
  std::int64_t per_ = 1;  // microseconds a frame
  std::int64_t started_ = 0;
};
