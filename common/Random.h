// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one random draw of the program, on the classic C-runtime generator so that a seed gives
// a fixed sequence: state = state * 214013 + 2531011 (mod 2^32), value = (state >> 16) & 0x7FFF.

// Starts a new sequence.
void SeedRandom(unsigned int seed);
// The next generator value, 0 to 32767.
int NextRandom();
// An integer from 0 to n - 1: the generator value scaled into n equal bands.
int Random(int n);
