// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's sound player, on SDL's audio subsystem. It is the only part of the program
// that knows about SDL; this header keeps it that way.
//
// The playback device is open only while there is something to play: a cue opens it, and it
// is let go once nothing has sounded for Options::idleCloseMs, so that no sound thread runs
// (and wakes the machine a few hundred times a second) while the program sits waiting. The
// sink is made with the device open, or with Options::openAtStart off, closed until the first
// cue. A helper thread does the closing; it sleeps while there is nothing to close.
//
// Each cue is decoded when it is played, converted to the device's format and kept in memory
// while the device stays open (keyed by path, and read again when the file's size or time
// changes); the device's callback copies it out. A new cue replaces the one sounding at the
// next device buffer.
//
// A synchronous cue returns when the device has come back for the buffer after the one that
// held the cue's last sample (so the whole cue has been handed to the sound system), or after
// the cue's length plus one second, whichever comes first: a stalled or vanished device never
// holds up the caller for longer than that.
//
// When the device cannot be opened every call fails at once; the sink tries again on a later
// call, no more often than Options::retryMs. A device that goes away while open (a USB headset
// pulled out) is noticed on the next call and reopened. A cue that comes while an idle device
// is being let go waits for that, but never longer than kCloseWaitMs; past that it fails.
//
// Play must be called from one thread (the UI thread).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/AudioSink.h"

class SdlAudioSink : public AudioSink {
 public:
  struct Options {
    // What is asked of the device; it may pick another rate, format or channel count, and
    // every cue is converted to what it picked.
    int rate = 44100;
    int channels = 2;
    // Frames per device buffer. Small buffers keep chained cues close together: the silence
    // between two synchronous cues is at most about two buffers.
    int bufferFrames = 256;
    // After a failed open, the next attempt waits at least this long.
    int retryMs = 3000;
    // The device is closed once it has had nothing to play for this long.
    int idleCloseMs = 1500;
    // Open the device when the sink is made; otherwise at the first cue.
    bool openAtStart = true;
  };

  static constexpr int kCloseWaitMs = 250;

  // What the open device really runs at.
  struct DeviceFormat {
    int rate = 0;
    int channels = 0;
    uint16_t sdlFormat = 0;  // an SDL_AudioFormat value (AUDIO_S16LSB, AUDIO_F32LSB, ...)
    int bytesPerFrame = 0;
    int bufferFrames = 0;
  };

  SdlAudioSink();
  explicit SdlAudioSink(const Options& options);
  ~SdlAudioSink() override;
  SdlAudioSink(const SdlAudioSink&) = delete;
  SdlAudioSink& operator=(const SdlAudioSink&) = delete;

  CueResult Play(const std::string& name, const std::string& path, bool sync) override;

  // The open device's format; nothing while there is no device (also once it was let go).
  std::optional<DeviceFormat> Format() const;
  // Why the device is not open, as SDL put it; empty while it is open.
  std::string LastError() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
