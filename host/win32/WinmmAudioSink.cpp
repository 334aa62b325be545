// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/win32/WinmmAudioSink.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "common/DefaultChime.h"
#include "common/ReadOnlyFile.h"
#include "common/WavInfo.h"
#include "host/win32/WaveFile.h"

namespace {
constexpr int kChimeRate = 22050;
// Far beyond any cue; a larger file is not read into memory.
constexpr std::uint64_t kMaxCueBytes = 64u << 20;

// The whole file at `path` when it is a WAV file the program plays, else nothing.
std::vector<std::uint8_t> ReadCue(const std::string& path) {
  ReadOnlyFile file;
  if (path.empty() || !file.Open(path) || file.Size() > kMaxCueBytes) return {};
  std::vector<std::uint8_t> bytes(static_cast<size_t>(file.Size()));
  if (!file.ReadAt(0, bytes.size(), bytes.data())) return {};
  if (!ParseWavInfo(bytes.data(), bytes.size())) return {};
  return bytes;
}
}  // namespace

WinmmAudioSink::WinmmAudioSink() : WinmmAudioSink([] { return waveOutGetNumDevs(); }) {}

WinmmAudioSink::WinmmAudioSink(std::function<unsigned()> devices)
    : devices_(std::move(devices)),
      chime_(WaveFile::FromSamples(DefaultChimeSamples(kChimeRate), kChimeRate)) {}

WinmmAudioSink::~WinmmAudioSink() { PlaySoundW(nullptr, nullptr, 0); }

CueResult WinmmAudioSink::Play(const std::string&, const std::string& path, bool sync) {
  if (devices_() == 0) return CueResult::Failed;
  const DWORD mode = (sync ? SND_SYNC : SND_ASYNC) | SND_NODEFAULT | SND_MEMORY;
  // The cue still sounding plays from cue_: stop it before its bytes go.
  PlaySoundW(nullptr, nullptr, 0);
  cue_ = ReadCue(path);
  if (!cue_.empty() && PlaySoundW(reinterpret_cast<LPCWSTR>(cue_.data()), nullptr, mode))
    return CueResult::Played;
  PlaySoundW(reinterpret_cast<LPCWSTR>(chime_.data()), nullptr, mode);
  return CueResult::PlayedDefault;
}
