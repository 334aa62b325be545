// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound a cue falls back to when its file is missing or cannot be played: a short,
// friendly two-note chime (A5 then the E6 a fifth above, each ringing down), so a broken
// install still sounds like an instrument rather than going quiet.
#include <cstdint>
#include <vector>

constexpr int kDefaultChimeMs = 400;

// Lowest and highest device rates the chime is made for. Below the lowest, the upper note
// would not fit under half the rate.
constexpr int kDefaultChimeMinRate = 8000;
constexpr int kDefaultChimeMaxRate = 384000;

// Mono 16-bit samples at `sampleRate`, exactly kDefaultChimeMs long (rounded to the nearest
// whole sample), starting and ending at silence. Empty when sampleRate is outside
// [kDefaultChimeMinRate, kDefaultChimeMaxRate].
std::vector<int16_t> DefaultChimeSamples(int sampleRate);
