// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulator's sound: nothing is heard, but a synchronous cue takes the cue's length from
// the file (the default chime's length when there is none) in virtual time.
#include "common/AudioSink.h"
#include "host/headless/Transcript.h"
#include "host/headless/VirtualClock.h"

class HeadlessAudio : public AudioSink {
 public:
  HeadlessAudio(VirtualClock& clock, Transcript& out, bool hasDevice)
      : clock_(clock), out_(out), hasDevice_(hasDevice) {}
  CueResult Play(const std::string& name, const std::string& path, bool sync) override;

 private:
  VirtualClock& clock_;
  Transcript& out_;
  bool hasDevice_;
};
