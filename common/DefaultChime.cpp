// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/DefaultChime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Note {
  double startS;  // when it strikes
  double freqHz;
  double level;   // peak, as a fraction of full scale
  double decayS;  // time for the ring to fall to 1/e
};

// Ding, then dong a fifth higher, overlapping as the first still rings.
constexpr Note kNotes[] = {
    {0.000, 880.0, 0.45, 0.09},
    {0.130, 1320.0, 0.40, 0.11},
};
constexpr double kOvertone = 0.15;   // a touch of the octave makes it a bell, not a beep
constexpr double kAttackS = 0.004;   // soft strike, no click
constexpr double kReleaseS = 0.030;  // the last stretch ramps to silence

}  // namespace

std::vector<int16_t> DefaultChimeSamples(int sampleRate) {
  if (sampleRate < kDefaultChimeMinRate || sampleRate > kDefaultChimeMaxRate) return {};
  const int64_t count = (static_cast<int64_t>(sampleRate) * kDefaultChimeMs + 500) / 1000;
  const double totalS = static_cast<double>(count) / sampleRate;

  std::vector<int16_t> out(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / sampleRate;
    double v = 0.0;
    for (const Note& note : kNotes) {
      const double s = t - note.startS;
      if (s < 0) continue;
      const double env = std::min(1.0, s / kAttackS) * std::exp(-s / note.decayS);
      const double phase = 2 * std::numbers::pi * note.freqHz * s;
      v += note.level * env * (std::sin(phase) + kOvertone * std::sin(2 * phase));
    }
    // Ramp down over the release so the final sample is silence.
    const double left = (totalS - t - 1.0 / sampleRate) / kReleaseS;
    v *= std::clamp(left, 0.0, 1.0);
    out[static_cast<size_t>(i)] =
        static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
  }
  return out;
}
