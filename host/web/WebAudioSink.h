// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cues through the page's Web Audio. A synchronous cue suspends the program (Asyncify) until
// it has ended, the page running meanwhile; an asynchronous one returns at once.
#include <string>

#include "common/AudioSink.h"

class WebAudioSink : public AudioSink {
 public:
  CueResult Play(const std::string& name, const std::string& path, bool sync) override;
};
