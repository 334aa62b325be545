// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page calls in the program while it paints: the clip's frames and schedule, and where
// a new window stands. They answer for the host of the running program, and nothing while none
// runs.
#include "host/web/PageExports.h"

#include <emscripten.h>

#include <algorithm>

#include "host/shared/Layout.h"
#include "host/web/WebHost.h"

namespace {
WebHost* g_host = nullptr;
}  // namespace

void PageExports::Serve(WebHost* host) { g_host = host; }

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
