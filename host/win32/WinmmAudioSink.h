// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows program's sound: every cue through WINMM's PlaySoundW, the platform's own call,
// with the synchronous or asynchronous flag the program asked for. The cue is read into memory
// and played from there (SND_MEMORY): PlaySoundW with a file name fails for a long path, and a
// copy of the program unpacked deep in a user's folders must sound the same. Windows
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
  // The chime and the last cue as WAV file images; each must outlive an asynchronous cue that
  // plays it.
  std::vector<std::uint8_t> chime_;
  std::vector<std::uint8_t> cue_;
};
