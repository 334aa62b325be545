// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// Quorblex Pro in a web page. The program itself is the core's; this sets up the page around it
// (profile, data files, sound) and runs it, as the desktop programs do. The page starts it
// when the user presses its start button and goes back to that button when it ends.
#include <emscripten.h>

#include <algorithm>

#include "common/CWinApp.h"
#include "common/DataFiles.h"
#include "common/WindowSystem.h"
#include "host/web/PageCalls.h"
#include "host/web/WebAudioSink.h"
#include "host/web/WebClock.h"
#include "host/web/WebHost.h"
#include "host/shared/Layout.h"

namespace {
WebHost* g_host = nullptr;
}

// The page asks for the clip's frames as it paints them: [width, height, ratio x 100, pixels].
extern "C" EMSCRIPTEN_KEEPALIVE const void* qx_clip_frame(int clip, int index, double ratio) {
  return g_host ? g_host->ClipFrame(clip, index, ratio) : nullptr;
}

extern "C" EMSCRIPTEN_KEEPALIVE int qx_clip_play(unsigned control, int clip, int from, int to,
                                                int repeat, double now) {
  if (!g_host) return -1;
  return g_host->ClipPlay(control, clip, from, to, repeat, static_cast<std::int64_t>(now));
}

// (frame + 1) * 2, plus 1 while the clip plays on.
extern "C" EMSCRIPTEN_KEEPALIVE int qx_clip_at(unsigned control, double now) {
  if (!g_host) return 0;
  const WebHost::ClipStep step = g_host->ClipAt(control, static_cast<std::int64_t>(now));
  return (step.frame + 1) * 2 + (step.playing ? 1 : 0);
}

// Where a new window of `width` x `height` (its frame, CSS pixels) stands on the page's desktop
// of `areaWidth` x `areaHeight`, by the shared placement rule: x << 16 | y.
extern "C" EMSCRIPTEN_KEEPALIVE unsigned qx_place(int width, int height, int owned, int centered,
                                                  int ownerX, int ownerY, int ownerWidth,
                                                  int ownerHeight, int clientX, int clientY,
                                                  int offsetX, int offsetY, int areaWidth,
                                                  int areaHeight) {
  Layout::Placement p;
  p.width = width;
  p.height = height;
  p.owned = owned != 0;
  p.centered = centered != 0;
  p.owner = {ownerX, ownerY, ownerWidth, ownerHeight};
  p.clientX = clientX;
  p.clientY = clientY;
  p.offsetX = offsetX;
  p.offsetY = offsetY;
  p.area = {0, 0, areaWidth, areaHeight};
  const PixelRect r = Layout::Place(p);
  return static_cast<unsigned>(std::max(0, r.x)) << 16 | static_cast<unsigned>(std::max(0, r.y));
}

int main() {
  // The profile's text lives in the browser's storage under the file's name (common/web/),
  // which is also what a message about it names.
  CWinApp::SetProfilePath("quorblex.ini");
  // The page put the clips it fetched in /data, and an empty file for each cue and the help
  // page, which play and open from the site itself.
  DataFiles::SetSearchDirs({"/data"});
  WebAudioSink audio;
  WebClock clock;
  WebHost host(clock);
  g_host = &host;
  int code = 0;
  {
    WindowSystem ws(clock, host, audio);
    code = RunApplication();
  }
  g_host = nullptr;
  qx_exit(code);
  return code;
}
