// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The functions of the page the web host calls (host/web/library.js). qx_wait and qx_play_sync
// suspend the program through Asyncify until the page calls back; the others return at once.
#include <cstddef>

extern "C" {
// Hands the page one change, a JSON object with an "op".
void qx_show(const char* json);
int qx_tray_add(const char* tip);
// Milliseconds since the page began (performance.now).
double qx_now();
// Suspends until input comes or `ms` pass (-1: input only).
void qx_wait(int ms);
// The next input as "kind target id pos key letter alt"; 0 when none is left.
int qx_next_input(char* buffer, std::size_t size);
// Plays cue `name` from the site's sound `file` (empty: the default chime); 1 when played, 0
// when the page has no sound.
int qx_play_sync(const char* name, const char* file);
int qx_play_async(const char* name, const char* file);
// The room `text` takes in the dialog font at `stretch` percent of its size, in CSS pixels:
// width << 16 | height. A text that wraps is broken within `width`.
unsigned qx_measure(const char* text, int width, int wraps, int mnemonic, int stretch);
// The program has ended.
void qx_exit(int code);
}
