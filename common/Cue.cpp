// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Cue.h"

#include <string>

#include "common/DataFiles.h"
#include "common/WindowSystem.h"

BOOL sndPlaySoundA(const char* name, UINT flags) {
  std::string cue = name ? name : "";
  std::string path = DataFiles::Find(cue);
  // A name without an extension ("amaz") may also be a WAV file of that name plus ".wav".
  if (path.empty() && !cue.empty() && cue.find('.') == std::string::npos)
    path = DataFiles::Find(cue + ".wav");
  bool sync = (flags & SND_ASYNC) == 0;
  CueResult r = WindowSystem::Get().audio().Play(cue, path, sync);
  return r == CueResult::Failed ? FALSE : TRUE;
}
