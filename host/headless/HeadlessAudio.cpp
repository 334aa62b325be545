// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/headless/HeadlessAudio.h"

#include "common/DefaultChime.h"
#include "common/WavInfo.h"

CueResult HeadlessAudio::Play(const std::string& name, const std::string& path, bool sync) {
  std::string line = "sound " + Transcript::Quote(name) + (sync ? " sync" : " async");
  if (!hasDevice_) {
    out_.Line(line + " failed");
    return CueResult::Failed;
  }
  std::optional<WavInfo> info;
  if (!path.empty()) info = ReadWavInfo(path);
  out_.Line(info ? line : line + " missing");
  if (sync) clock_.Set(clock_.Now() + (info ? info->durationMs : kDefaultChimeMs));
  return info ? CueResult::Played : CueResult::PlayedDefault;
}
