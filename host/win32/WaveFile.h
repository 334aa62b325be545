// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole RIFF/WAVE file in memory from mono 16-bit samples: how the default chime reaches
// the platform's sound call, which plays files and file images.
#include <cstdint>
#include <vector>

namespace WaveFile {

std::vector<std::uint8_t> FromSamples(const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace WaveFile
