// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Playing a sound cue by name: the platform's one call. SND_SYNC returns when the cue has been
// heard to its end; SND_ASYNC returns at once. Any new cue stops the one still sounding. A name
// that names no file plays the default chime instead. Callers never look at the result.
#include "common/WinTypes.h"

BOOL sndPlaySoundA(const char* name, UINT flags);
