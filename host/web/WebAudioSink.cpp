// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/web/WebAudioSink.h"

#include "host/web/PageCalls.h"

CueResult WebAudioSink::Play(const std::string& name, const std::string& path, bool sync) {
  // The program found the cue among its data files; the page plays the site's file of that
  // name, or the default chime when there is none.
  const std::string file = path.substr(path.find_last_of('/') + 1);
  const int played = sync ? qx_play_sync(name.c_str(), file.c_str())
                          : qx_play_async(name.c_str(), file.c_str());
  if (!played) return CueResult::Failed;
  return path.empty() ? CueResult::PlayedDefault : CueResult::Played;
}
