// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The functions the page calls in the program (qx_clip_frame, qx_clip_play, qx_clip_at,
// qx_place) answer for one host at a time: the running program's.
class WebHost;

namespace PageExports {
// `host` answers from now on; null while no program runs.
void Serve(WebHost* host);
}  // namespace PageExports
