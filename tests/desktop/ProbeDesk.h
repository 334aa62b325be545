// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a probe stands on: the real desktop host over the core's window system, with no sound
// device and nobody listening to the input.
#include <cstdint>

#include "common/WindowSystem.h"
#include "host/qt/DesktopSession.h"
#include "host/qt/QtHost.h"
#include "host/shared/SteadyClock.h"

namespace probe {
class Silent : public AudioSink {
 public:
  CueResult Play(const std::string&, const std::string&, bool) override {
    return CueResult::Failed;
  }
};

class Discard : public InputSink {
 public:
  void Push(InputEvent) override {}
};
}  // namespace probe

struct ProbeDesk {
  ProbeDesk(int& argc, char** argv) : session(argc, argv), host(clock), ws(clock, host, audio) {}

  // Runs the desktop's loop until `until` on the clock (-1: for ever), dropping what it hears.
  void RunUntil(std::int64_t until) {
    probe::Discard input;
    while (until < 0 || clock.Now() < until)
      host.Wait(until < 0 ? clock.Now() + 1000 : until, input);
  }

  DesktopSession session;
  probe::Silent audio;
  SteadyClock clock;
  QtHost host;
  WindowSystem ws;
};
