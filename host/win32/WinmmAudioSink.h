// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows program's sound: every cue through WINMM's PlaySoundW, the platform's own call,
// with a file name and the synchronous or asynchronous flag the program asked for. Windows
// then behaves as the program expects: a synchronous cue returns once it has been played to
// its end, an asynchronous one at once, and any new cue stops the one still sounding.
//
// A cue with no file, or a file that is no WAV file the program reads (common/WavInfo.h) or
// that Windows cannot play, sounds the default chime instead, from memory. Without a sound device
// (waveOutGetNumDevs() is 0) every call fails at once and nothing waits, which is what the
// program's "no device" path expects.
#include <cstdint>
#include <functional>
#include <vector>

#include "common/AudioSink.h"

class WinmmAudioSink : public AudioSink {
 public:
  WinmmAudioSink();
  // `devices` says how many sound devices there are (waveOutGetNumDevs by default), asked at
  // every cue: a headset may come or go while the program runs.
  explicit WinmmAudioSink(std::function<unsigned()> devices);
  ~WinmmAudioSink() override;  // stops a cue still sounding
  WinmmAudioSink(const WinmmAudioSink&) = delete;
  WinmmAudioSink& operator=(const WinmmAudioSink&) = delete;

  CueResult Play(const std::string& name, const std::string& path, bool sync) override;

 private:
  std::function<unsigned()> devices_;
  // The chime as a WAV file image; it must outlive an asynchronous cue that plays it.
  std::vector<std::uint8_t> chime_;
};
