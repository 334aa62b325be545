// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place a cue call ends up. The core resolves the cue's bare name to a file and
// hands it here; the sink plays it.
//
// Blocking: Play with sync = true returns only when the cue has been heard to its end (the
// desktop sink waits on the device, at most the cue's length plus one second; the headless
// sink advances virtual time by the cue's length). With sync = false it returns at once.
// Any new cue stops the one still sounding.
#include <string>

enum class CueResult {
  Played,         // the file was played
  PlayedDefault,  // the file was missing or unplayable; the default chime played instead
  Failed,         // there is no sound device; nothing played and no time passed
};

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // name: the cue name exactly as the program passed it ("tone.wav", "amaz").
  // path: the file found for it, or empty when none was found.
  virtual CueResult Play(const std::string& name, const std::string& path, bool sync) = 0;
};
