// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/WinmmAudioSink.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "common/DefaultChime.h"
#include "common/WavInfo.h"
#include "host/win32/WaveFile.h"
#include "host/win32/WideText.h"

namespace {
constexpr int kChimeRate = 22050;
}

WinmmAudioSink::WinmmAudioSink() : WinmmAudioSink([] { return waveOutGetNumDevs(); }) {}

WinmmAudioSink::WinmmAudioSink(std::function<unsigned()> devices)
    : devices_(std::move(devices)),
      chime_(WaveFile::FromSamples(DefaultChimeSamples(kChimeRate), kChimeRate)) {}

WinmmAudioSink::~WinmmAudioSink() { PlaySoundW(nullptr, nullptr, 0); }

CueResult WinmmAudioSink::Play(const std::string&, const std::string& path, bool sync) {
  if (devices_() == 0) return CueResult::Failed;
  const DWORD mode = (sync ? SND_SYNC : SND_ASYNC) | SND_NODEFAULT;
  // An asynchronous call cannot say that the file was no cue: it is read first.
  if (!path.empty() && ReadWavInfo(path) &&
      PlaySoundW(Widen(path).c_str(), nullptr, SND_FILENAME | mode))
    return CueResult::Played;
  PlaySoundW(reinterpret_cast<LPCWSTR>(chime_.data()), nullptr, SND_MEMORY | mode);
  return CueResult::PlayedDefault;
}
